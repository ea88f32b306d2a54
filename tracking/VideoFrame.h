#pragma once

#include <opencv2/core/mat.hpp>

// Row order of a captured picture. Some capture drivers deliver the bottom row first; all
// analysis works on top-left pictures.
enum ImageOrigin { TopLeftOrigin = 0, BottomLeftOrigin = 1 };

// A frame as its video source delivers it: 8-bit BGR pixels and their row order. The source
// owns it; whoever processes it may flip it in place as long as `origin` says how it lies.
struct VideoFrame {
    cv::Mat image;
    ImageOrigin origin = TopLeftOrigin;
};
