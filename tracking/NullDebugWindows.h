#pragma once

#include "tracking/DebugWindows.h"

// Debug windows for runs without a screen: nothing is created or shown.
class NullDebugWindows : public DebugWindows {
public:
    void Create(const std::string&) override {}
    void Destroy(const std::string&) override {}
    void Show(const std::string&, const cv::Mat&) override {}
};
