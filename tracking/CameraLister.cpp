#include "tracking/CameraLister.h"

#include <algorithm>
#include <iterator>

std::vector<VideoDevice> CameraLister::Cameras()
{
    std::vector<VideoDevice> cameras;
    const std::vector<VideoDevice> devices = Devices();
    std::copy_if(devices.begin(), devices.end(), std::back_inserter(cameras),
                 [](const VideoDevice& device) { return device.capturesVideo; });
    return cameras;
}
