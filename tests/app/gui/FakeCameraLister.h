#pragma once

#include "tracking/CameraLister.h"

#include <utility>
#include <vector>

// The devices of a machine with the cameras given; change `devices` to plug or unplug one.
// `listings` counts the times they were listed (each opens every device node).
class FakeCameraLister : public CameraLister {
public:
    explicit FakeCameraLister(std::vector<VideoDevice> listed) : devices(std::move(listed)) {}

    std::vector<VideoDevice> Devices() override
    {
        ++listings;
        return devices;
    }

    std::vector<VideoDevice> devices;
    int listings = 0;
};
