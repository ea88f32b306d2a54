#pragma once

#include "faceanalysis/CFaceModel.h"
#include "faceanalysis/CTrackedFace.h"
#include "faceanalysis/MotionSampleSink.h"

#include <gtest/gtest.h>
#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <array>
#include <vector>

// The astronaut portrait, frames made from it by known motions, and the detector's start on it.
namespace facetest {

// The portrait (8-bit BGR); fails the test when missing.
inline const cv::Mat& Portrait()
{
    static const cv::Mat portrait = cv::imread(BRUMARIA_SOURCE_DIR "/tests/data/astronaut.png", cv::IMREAD_COLOR);
    EXPECT_FALSE(portrait.empty()) << "tests/data/astronaut.png is missing";
    return portrait;
}

// Rotation by degrees (clockwise on screen) and scaling about the face's centre, then a shift.
inline cv::Matx23d Motion(double degrees, double scale, cv::Point2d shift)
{
    const cv::Matx23d turn = cv::getRotationMatrix2D({225, 113}, -degrees, scale);
    return turn + cv::Matx23d(0, 0, shift.x, 0, 0, shift.y);
}

// The portrait moved by motion, edges filled by reflection, at the portrait's size unless given.
inline cv::Mat MovedFrame(const cv::Matx23d& motion, cv::Size size = {})
{
    cv::Mat frame;
    cv::warpAffine(Portrait(), frame, motion, size.empty() ? Portrait().size() : size, cv::INTER_LINEAR,
                   cv::BORDER_REFLECT);
    return frame;
}

struct RecordingSink : MotionSampleSink {
    void AddSample(float leftEyeX, float leftEyeY, float rightEyeX, float rightEyeY, float mouthX,
                   float mouthY) override
    {
        samples.push_back({leftEyeX, leftEyeY, rightEyeX, rightEyeY, mouthX, mouthY});
    }
    std::vector<std::array<float, 6>> samples;
};

// The detector's start on the portrait's face box (170, 58, 110 x 110): eyes at 0.31 and 0.69 of
// its width and 0.4 of its height, the mouth at 0.5 and 0.78, truncated; the ellipse in the box
// shrunk by 0.15 of its width at each side and 0.08 at top and bottom; the model analysed from it.
struct PortraitFace {
    PortraitFace() : face(leftEye.x, leftEye.y, rightEye.x, rightEye.y, mouth.x, mouth.y, ellipse)
    {
        model.Analyse(Portrait(), leftEye.x, leftEye.y, rightEye.x, rightEye.y, mouth.x, mouth.y, ellipse);
        face.SetFaceModel(&model);
    }

    const cv::Point leftEye{204, 102}, rightEye{245, 102}, mouth{225, 143};
    const FaceEllipse ellipse{186, 66, 263, 159};
    CFaceModel model;
    CTrackedFace face;
};

}  // namespace facetest
