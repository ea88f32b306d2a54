#include "faceanalysis/FaceEllipse.h"

#include <gtest/gtest.h>
#include <opencv2/core.hpp>

#include <cmath>

namespace {

void ExpectBox(const FaceEllipse& e, int left, int right, int top, int bottom)
{
    EXPECT_EQ(e.left, left);
    EXPECT_EQ(e.right, right);
    EXPECT_EQ(e.top, top);
    EXPECT_EQ(e.bottom, bottom);
}

TEST(FaceEllipse, RectangleGivesInscribedUprightEllipse)
{
    const FaceEllipse e(10, 20, 50, 101);
    EXPECT_DOUBLE_EQ(e.centreX, 30.0);
    EXPECT_DOUBLE_EQ(e.centreY, 60.5);
    EXPECT_DOUBLE_EQ(e.halfWidth, 20.0);
    EXPECT_DOUBLE_EQ(e.halfHeight, 40.5);
    EXPECT_DOUBLE_EQ(e.angle, 0.0);
    ExpectBox(e, 10, 50, 20, 101);
}

TEST(FaceEllipse, SwappedCornersGiveTheSameEllipse)
{
    const FaceEllipse ordered(10, 20, 50, 101);
    const FaceEllipse swapped(50, 101, 10, 20);
    const FaceEllipse mixed(50, 20, 10, 101);
    for (const FaceEllipse* e : {&swapped, &mixed}) {
        EXPECT_DOUBLE_EQ(e->centreX, ordered.centreX);
        EXPECT_DOUBLE_EQ(e->centreY, ordered.centreY);
        EXPECT_DOUBLE_EQ(e->halfWidth, ordered.halfWidth);
        EXPECT_DOUBLE_EQ(e->halfHeight, ordered.halfHeight);
        ExpectBox(*e, 10, 50, 20, 101);
    }
}

TEST(FaceEllipse, BoxOfUprightAndQuarterTurnedEllipse)
{
    ExpectBox(FaceEllipse(0.0, 0.0, 10.0, 5.0, 0.0), -10, 10, -5, 5);
    ExpectBox(FaceEllipse(0.0, 0.0, 10.0, 5.0, CV_PI / 2), -5, 5, -10, 10);
}

TEST(FaceEllipse, BoxTruncatesTowardZeroAfterHalfPixelMargin)
{
    // hw = 10.2: left = T(-10.7) = -10, right = T(10.7) = 10; shifted by 20, T(9.3) = 9.
    ExpectBox(FaceEllipse(0.0, 0.0, 10.2, 3.0, 0.0), -10, 10, -3, 3);
    ExpectBox(FaceEllipse(20.0, 0.0, 10.2, 3.0, 0.0), 9, 30, -3, 3);
    // At 45 degrees both half-extents are sqrt((a^2 + b^2) / 2) = 7.9057.
    ExpectBox(FaceEllipse(100.0, 50.0, 10.0, 5.0, CV_PI / 4), 91, 108, 41, 58);
}

TEST(FaceEllipse, CloneRecomputesTheBoxFromCentreAndAxes)
{
    const FaceEllipse rectangle(10, 20, 50, 100);
    const FaceEllipse clone = rectangle.Clone();
    EXPECT_DOUBLE_EQ(clone.centreX, 30.0);
    EXPECT_DOUBLE_EQ(clone.halfHeight, 40.0);
    // 30 - 20 - 0.5 = 9.5 truncates to 9.
    ExpectBox(clone, 9, 50, 19, 100);
}

TEST(FaceEllipse, DrawFilledWhiteAndOutline)
{
    cv::Mat image(40, 60, CV_8UC3, cv::Scalar::all(0));
    FaceEllipse(30.0, 20.0, 10.0, 5.0, 0.0).Draw(image, 0xFFFFFF, -1);
    EXPECT_EQ(image.at<cv::Vec3b>(20, 30), cv::Vec3b(255, 255, 255));
    EXPECT_EQ(image.at<cv::Vec3b>(20, 39), cv::Vec3b(255, 255, 255));
    EXPECT_EQ(image.at<cv::Vec3b>(20, 42), cv::Vec3b(0, 0, 0));
    EXPECT_EQ(image.at<cv::Vec3b>(26, 30), cv::Vec3b(0, 0, 0));

    // 0xRRGGBB lands as blue, green, red bytes; a quarter turn stands the ellipse upright.
    cv::Mat outline(40, 60, CV_8UC3, cv::Scalar::all(0));
    FaceEllipse(30.0, 20.0, 10.0, 5.0, CV_PI / 2).Draw(outline, 0x102030, 1);
    EXPECT_EQ(outline.at<cv::Vec3b>(10, 30), cv::Vec3b(0x30, 0x20, 0x10));
    EXPECT_EQ(outline.at<cv::Vec3b>(20, 25), cv::Vec3b(0x30, 0x20, 0x10));
    EXPECT_EQ(outline.at<cv::Vec3b>(20, 20), cv::Vec3b(0, 0, 0));
}

TEST(FaceEllipse, DegenerateAxesDrawWithoutFailing)
{
    cv::Mat image(10, 10, CV_8UC3, cv::Scalar::all(0));
    FaceEllipse(5.0, 5.0, -3.0, 0.0, 0.0).Draw(image, 0xFFFFFF, 1);
    FaceEllipse(5.0, 5.0, std::nan(""), 2.0, 0.0).Draw(image, 0xFFFFFF, -1);
    EXPECT_EQ(image.at<cv::Vec3b>(5, 5), cv::Vec3b(255, 255, 255));
}

} // namespace
