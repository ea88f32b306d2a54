#pragma once

#include "tracking/VideoDevice.h"

#include <vector>

// Lists the video devices present now: cameras come and go while the program runs.
class CameraLister {
public:
    virtual ~CameraLister() = default;
    // Every device node, in device-number order; empty when there is none.
    virtual std::vector<VideoDevice> Devices() = 0;

    // The nodes that capture video: the player's cameras.
    std::vector<VideoDevice> Cameras();
};
