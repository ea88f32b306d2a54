#pragma once

#include <opencv2/core/mat.hpp>
#include <opencv2/core/types.hpp>

#include <optional>
#include <string>

// Something that follows one face through a video, started from a face the detector found.
class FaceFollower {
public:
    virtual ~FaceFollower() = default;
    virtual std::string Name() const = 0;
    // The first frame and the face the detector found in it, in pixels of the image it
    // searched, each `scale` frame pixels wide: the face centre it starts from, or nothing
    // when it cannot start.
    virtual std::optional<cv::Point2d> Start(const cv::Mat& frame, const cv::Rect& found, int scale) = 0;
    // The next frame: the face centre, or nothing when the face is not followed.
    virtual std::optional<cv::Point2d> Follow(const cv::Mat& frame) = 0;
};
