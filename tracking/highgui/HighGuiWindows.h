#pragma once

#include "tracking/DebugWindows.h"

// The debug windows as OpenCV HighGUI windows (Qt backend): auto-sized, without HighGUI's
// toolbar and status bar. Images of 32-bit integers are shown as HighGUI always showed them,
// divided by 256 (so 0xFFFFFF is white).
class HighGuiWindows : public DebugWindows {
public:
    void Create(const std::string& name) override;
    void Destroy(const std::string& name) override;
    void Show(const std::string& name, const cv::Mat& image) override;

    // The picture a window shows for an image.
    static cv::Mat Picture(const cv::Mat& image);
};
