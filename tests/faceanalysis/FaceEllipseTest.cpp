#include "faceanalysis/FaceEllipse.h"

#include <gtest/gtest.h>
#include <opencv2/core.hpp>

#include <cmath>
#include <vector>

TEST(FaceEllipse, CornersInAnyOrderOrAxesGiveBoxesTruncatedAfterAHalfPixelMargin)
{
    const FaceEllipse swapped(50, 101, 10, 20);  // the inscribed upright ellipse
    EXPECT_EQ((std::vector<double>{swapped.centreX, swapped.centreY, swapped.halfWidth, swapped.halfHeight}),
              (std::vector<double>{30, 60.5, 20, 40.5}));
    struct Case {
        FaceEllipse e;
        std::vector<int> box;
    };
    const Case cases[] = {
        {FaceEllipse(10, 20, 50, 101), {10, 50, 20, 101}},
        {swapped, {10, 50, 20, 101}},
        {FaceEllipse(50, 20, 10, 101), {10, 50, 20, 101}},
        {FaceEllipse(0.0, 0.0, 10.0, 5.0, 0.0), {-10, 10, -5, 5}},
        {FaceEllipse(0.0, 0.0, 10.0, 5.0, CV_PI / 2), {-5, 5, -10, 10}},
        {FaceEllipse(0.0, 0.0, 10.2, 3.0, 0.0), {-10, 10, -3, 3}},  // T(-10.7) = -10
        {FaceEllipse(20.0, 0.0, 10.2, 3.0, 0.0), {9, 30, -3, 3}},  // T(9.3) = 9
        {FaceEllipse(100.0, 50.0, 10.0, 5.0, CV_PI / 4), {91, 108, 41, 58}},  // half-extents 7.9057
        {FaceEllipse(10, 20, 50, 100).Clone(), {9, 50, 19, 100}},  // recomputed: T(9.5) = 9
    };
    for (const Case& c : cases)
        EXPECT_EQ((std::vector<int>{c.e.left, c.e.right, c.e.top, c.e.bottom}), c.box) << "row " << &c - cases;
}

TEST(FaceEllipse, DrawsInRedGreenBlueBytesAndSurvivesDegenerateAxes)
{
    cv::Mat image(40, 60, CV_8UC3, cv::Scalar::all(0));
    FaceEllipse(30.0, 20.0, 10.0, 5.0, CV_PI / 2).Draw(image, 0x102030, -1);  // filled, standing upright
    EXPECT_EQ(image.at<cv::Vec3b>(28, 30), cv::Vec3b(0x30, 0x20, 0x10));
    EXPECT_EQ(image.at<cv::Vec3b>(20, 37), cv::Vec3b(0, 0, 0));
    FaceEllipse(5.0, 5.0, -3.0, 0.0, 0.0).Draw(image, 0xFFFFFF, 1);
    FaceEllipse(5.0, 5.0, std::nan(""), 2.0, 0.0).Draw(image, 0xFFFFFF, -1);
    EXPECT_EQ(image.at<cv::Vec3b>(5, 5), cv::Vec3b(255, 255, 255));
}
