#pragma once

#include <opencv2/core.hpp>

#include <string>

// The astronaut portrait of the test data and frames made from it by known motions.
namespace facetest {

// Face box in the portrait (the detector's rectangle for this face) and the points and search
// region derived from it at the detector's fixed proportions.
inline const cv::Rect FaceBox(170, 58, 110, 110);

struct FacePoints {
    cv::Point2d eye1;
    cv::Point2d eye2;
    cv::Point2d mouth;
};

// Eyes at (x + 0.31 w, y + 0.4 h) and (x + 0.69 w, y + 0.4 h), mouth at (x + 0.5 w, y + 0.78 h),
// truncated to whole pixels.
FacePoints StartPoints(const cv::Rect& box);
// The box shrunk by 0.15 w left and right and 0.08 w top and bottom, corners truncated.
cv::Rect SearchRegion(const cv::Rect& box);

// The portrait (8-bit BGR); fails the test when missing.
const cv::Mat& Portrait();

// A rotation by degrees (positive turns the picture clockwise on screen) and scaling about
// centre, then a shift: maps portrait coordinates to frame coordinates.
cv::Matx23d Motion(cv::Point2d centre, double degrees, double scale, cv::Point2d shift);
// The portrait moved by motion, edges filled by reflection, at the given frame size.
cv::Mat MovedFrame(const cv::Mat& portrait, const cv::Matx23d& motion, cv::Size size);
cv::Point2d Apply(const cv::Matx23d& motion, cv::Point2d point);

} // namespace facetest
