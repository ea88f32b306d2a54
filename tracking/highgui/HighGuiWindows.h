#pragma once

#include "tracking/DebugWindows.h"

// The debug windows as OpenCV HighGUI windows (Qt backend): auto-sized, without HighGUI's
// toolbar and status bar. Windows it did not create are left alone.
class HighGuiWindows : public DebugWindows {
public:
    void Create(const std::string& name) override;
    void Destroy(const std::string& name) override;
    void Show(const std::string& name, const cv::Mat& image) override;
};
