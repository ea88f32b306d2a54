#pragma once

#include "tracking/PassRecord.h"

#include <opencv2/core/mat.hpp>

#include <string>
#include <vector>

// The "Parámetros" window's text: the raw feature positions, the smoothed turns and the three
// movement decisions of one interpretation pass.
class ValuesPanel {
public:
    static constexpr const char* kWindowName = "Parámetros";
    static constexpr int kWidth = 500;
    static constexpr int kHeight = 270;

    // The nine lines, top to bottom.
    static std::vector<std::string> Lines(const PassRecord& pass);
    // A black 500 x 270 canvas of 32-bit integers with the lines in white (16777215), each at
    // x = 10 with its baseline at y = 20, 50, ... 260.
    static cv::Mat Draw(const PassRecord& pass);
};
