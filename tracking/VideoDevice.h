#pragma once

#include <string>
#include <vector>

// A picture size a camera offers, in pixels.
struct FrameSize {
    int width = 0;
    int height = 0;
    bool operator==(const FrameSize& other) const { return width == other.width && height == other.height; }
    bool operator!=(const FrameSize& other) const { return !(*this == other); }
};

// One video device node as the system lists it. A webcam often has two: the one that captures
// pictures, and a metadata node under the same name.
struct VideoDevice {
    std::string path;  // /dev/videoN
    std::string name;  // as the driver names the camera
    bool capturesVideo = false;
    // The picture sizes it offers, smallest first (empty when it captures no video).
    std::vector<FrameSize> sizes;
};
