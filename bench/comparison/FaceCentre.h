#pragma once

#include <opencv2/core/types.hpp>

// The centre of the detector's face box as the eyes and the mouth give it. The tracker places
// the eyes 0.40 and the mouth 0.78 of the box height below its top, both centred across it, so
// the box centre lies on the way from the eye mid-point to the mouth, (0.50 - 0.40) / (0.78 -
// 0.40) of it; taken along that way, it shifts, scales and rolls with the face.
inline cv::Point2d FaceCentre(const cv::Point2d& leftEye, const cv::Point2d& rightEye, const cv::Point2d& mouth)
{
    const cv::Point2d eyes = (leftEye + rightEye) * 0.5;
    return eyes + (mouth - eyes) * ((0.50 - 0.40) / (0.78 - 0.40));
}
