#pragma once

#include <opencv2/core/types.hpp>

#include <array>

// Where the face analysis starts for a rectangle found by the face detector: the eyes and the
// mouth at fixed proportions of the rectangle, and the search region, the rectangle shrunk by
// insetX = 0.15 w at the left and right and insetY = 0.08 w at the top and bottom (both
// proportional to the width). All in full-frame pixels; scale is the number of full-frame
// pixels per detector pixel.
struct FacePlacement {
    // Left eye x, y, right eye x, y, mouth x, y: as the rest pose takes them, and in whole
    // pixels for the analysis objects.
    std::array<float, 6> points{};
    std::array<int, 6> wholePoints{};
    float insetX = 0.0f;
    float insetY = 0.0f;
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    // For a face seen for the first time: the points in double precision rounded to single,
    // the insets in single precision, the region's sides truncated.
    static FacePlacement ForNewFace(const cv::Rect& face, int scale);
    // For a face found again after it was lost: points and insets truncated to whole pixels
    // straight from double precision (points holds the whole points).
    static FacePlacement ForFoundAgain(const cv::Rect& face, int scale);
};
