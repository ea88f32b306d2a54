#include "FaceTestFrames.h"

#include <gtest/gtest.h>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <cmath>

namespace facetest {

FacePoints StartPoints(const cv::Rect& box)
{
    const auto point = [&box](double fx, double fy) {
        return cv::Point2d(std::trunc(box.x + fx * box.width), std::trunc(box.y + fy * box.height));
    };
    return {point(0.31, 0.4), point(0.69, 0.4), point(0.5, 0.78)};
}

cv::Rect SearchRegion(const cv::Rect& box)
{
    const double a = 0.15 * box.width;
    const double b = 0.08 * box.width;
    const int left = static_cast<int>(box.x + a);
    const int top = static_cast<int>(box.y + b);
    const int right = static_cast<int>(box.x + box.width - a);
    const int bottom = static_cast<int>(box.y + box.height - b);
    return cv::Rect(cv::Point(left, top), cv::Point(right, bottom));
}

const cv::Mat& Portrait()
{
    static const cv::Mat portrait =
        cv::imread(BRUMARIA_SOURCE_DIR "/tests/data/astronaut.png", cv::IMREAD_COLOR);
    EXPECT_FALSE(portrait.empty()) << "tests/data/astronaut.png is missing";
    return portrait;
}

cv::Matx23d Motion(cv::Point2d centre, double degrees, double scale, cv::Point2d shift)
{
    // getRotationMatrix2D turns counter-clockwise for positive angles (y down).
    cv::Matx23d m = cv::getRotationMatrix2D(centre, -degrees, scale);
    m(0, 2) += shift.x;
    m(1, 2) += shift.y;
    return m;
}

cv::Mat MovedFrame(const cv::Mat& portrait, const cv::Matx23d& motion, cv::Size size)
{
    cv::Mat frame;
    cv::warpAffine(portrait, frame, motion, size, cv::INTER_LINEAR, cv::BORDER_REFLECT);
    return frame;
}

cv::Point2d Apply(const cv::Matx23d& motion, cv::Point2d point)
{
    return cv::Point2d(motion(0, 0) * point.x + motion(0, 1) * point.y + motion(0, 2),
                       motion(1, 0) * point.x + motion(1, 1) * point.y + motion(1, 2));
}

} // namespace facetest
