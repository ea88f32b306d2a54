#pragma once

#include <opencv2/core/types.hpp>

#include <optional>
#include <string>
#include <vector>

// One frame of brumaria-headvideo's ground truth.
struct TruthFrame {
    std::string segment;
    cv::Point2d centre;
    double faceWidth = 0.0;
    double rollDegrees = 0.0;
};

// The frames of a ground-truth file in order; nothing, with error set, when it cannot be read
// or a line is malformed.
std::optional<std::vector<TruthFrame>> ReadGroundTruth(const std::string& fileName, std::string& error);
