#pragma once

#include "tracking/CameraLister.h"

#include <string>
#include <vector>

// The video devices the kernel knows: their names from sysfs, what they capture and the picture
// sizes they offer from each device's Video4Linux driver. A node that cannot be opened or is no
// Video4Linux device is left out.
class V4l2CameraLister : public CameraLister {
public:
    // The Video4Linux class folder of sysfs and the folder of the device nodes.
    explicit V4l2CameraLister(std::string classFolder = "/sys/class/video4linux", std::string deviceFolder = "/dev");

    std::vector<VideoDevice> Devices() override;

private:
    std::string m_classFolder;
    std::string m_deviceFolder;
};
