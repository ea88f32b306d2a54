#include "faceanalysis/ImageOperations.h"

#include <gtest/gtest.h>
#include <opencv2/core.hpp>

namespace {

cv::Mat Pattern(int width, int height)
{
    cv::Mat image(height, width, CV_8UC3);
    cv::randu(image, cv::Scalar::all(1), cv::Scalar::all(255));
    return image;
}

bool Same(const cv::Mat& a, const cv::Mat& b)
{
    return a.size() == b.size() && cv::norm(a, b, cv::NORM_INF) == 0;
}

TEST(ImageOperations, IdentityWarpCopiesWhereBothOverlap)
{
    const cv::Mat source = Pattern(40, 30);
    cv::Mat destination(20, 50, CV_8UC3, cv::Scalar::all(7));
    const double identity[6] = {1, 0, 0, 0, 1, 0};
    WarpAffineForward(source, destination, identity);
    EXPECT_TRUE(Same(destination(cv::Rect(0, 0, 40, 20)), source(cv::Rect(0, 0, 40, 20))));
    // Beyond the source: the fixed black fill.
    EXPECT_EQ(destination.at<cv::Vec3b>(10, 45), cv::Vec3b(0, 0, 0));
}

TEST(ImageOperations, WarpCoefficientsMapSourceToDestination)
{
    const cv::Mat source = Pattern(40, 30);
    cv::Mat destination(30, 40, CV_8UC3);
    const unsigned char* pixels = destination.data;
    // x' = x + 5, y' = y - 3: the source pixel (10, 12) lands at (15, 9).
    const double forward[6] = {1, 0, 5, 0, 1, -3};
    WarpAffineForward(source, destination, forward);
    EXPECT_EQ(destination.data, pixels);
    EXPECT_EQ(destination.at<cv::Vec3b>(9, 15), source.at<cv::Vec3b>(12, 10));

    // A half-turn about (20, 15) and half-pixel shifts interpolate bilinearly.
    const double turn[6] = {-1, 0, 40, 0, -1, 30};
    WarpAffineForward(source, destination, turn);
    EXPECT_EQ(destination.at<cv::Vec3b>(18, 30), source.at<cv::Vec3b>(12, 10));
    cv::Mat flat(4, 4, CV_8UC3, cv::Scalar::all(0));
    flat.col(2).setTo(cv::Scalar::all(200));
    cv::Mat half(4, 4, CV_8UC3);
    const double shift[6] = {1, 0, 0.5, 0, 1, 0};
    WarpAffineForward(flat, half, shift);
    EXPECT_NEAR(half.at<cv::Vec3b>(1, 2)[0], 100, 1);
    EXPECT_NEAR(half.at<cv::Vec3b>(1, 3)[0], 100, 1);
}

TEST(ImageOperations, AndReadsTheRegionOfTheFirstSource)
{
    const cv::Mat a = Pattern(30, 20);
    cv::Mat b(8, 10, CV_8UC3, cv::Scalar(0x0F, 0xF0, 0xFF));
    b.at<cv::Vec3b>(0, 0) = cv::Vec3b(0, 0, 0);
    cv::Mat destination(12, 14, CV_8UC3, cv::Scalar::all(9));
    const cv::Rect region(5, 7, 10, 8);
    AndRegion(a, region, b, destination);
    const cv::Vec3b in = a.at<cv::Vec3b>(7 + 3, 5 + 4);
    EXPECT_EQ(destination.at<cv::Vec3b>(3, 4), cv::Vec3b(in[0] & 0x0F, in[1] & 0xF0, in[2]));
    EXPECT_EQ(destination.at<cv::Vec3b>(0, 0), cv::Vec3b(0, 0, 0));
    // Outside the region's size the destination is untouched.
    EXPECT_EQ(destination.at<cv::Vec3b>(10, 12), cv::Vec3b(9, 9, 9));
}

TEST(ImageOperations, ResizeScalesTheSourceRectangleIntoTheDestinationRectangle)
{
    cv::Mat source(20, 20, CV_8UC3, cv::Scalar::all(0));
    source(cv::Rect(10, 0, 10, 20)).setTo(cv::Scalar(10, 20, 30));
    cv::Mat destination(50, 50, CV_8UC3, cv::Scalar::all(5));
    ResizeBicubic(source, cv::Rect(10, 0, 10, 20), destination, cv::Rect(3, 4, 30, 40));
    EXPECT_EQ(destination.at<cv::Vec3b>(20, 15), cv::Vec3b(10, 20, 30));
    EXPECT_EQ(destination.at<cv::Vec3b>(4, 3), cv::Vec3b(10, 20, 30));
    EXPECT_EQ(destination.at<cv::Vec3b>(2, 2), cv::Vec3b(5, 5, 5));
    EXPECT_EQ(destination.at<cv::Vec3b>(44, 33), cv::Vec3b(5, 5, 5));
}

TEST(ImageOperations, RectangleQuadCopiesTheRectangle)
{
    const cv::Mat source = Pattern(60, 50);
    cv::Mat destination(40, 50, CV_8UC3, cv::Scalar::all(0));
    const cv::Rect target(5, 6, 20, 15);
    // Corners: top-left, top-right, bottom-right, bottom-left of source pixels (12..31, 9..23).
    const double quad[4][2] = {{12, 9}, {31, 9}, {31, 23}, {12, 23}};
    for (int interpolation : {1, 2}) {
        WarpBilinearQuad(source, destination, target, quad, interpolation);
        EXPECT_TRUE(Same(destination(target), source(cv::Rect(12, 9, 20, 15))))
            << "interpolation " << interpolation;
    }
    EXPECT_EQ(destination.at<cv::Vec3b>(0, 0), cv::Vec3b(0, 0, 0));
}

TEST(ImageOperations, QuadCornerOrderRotatesAndTheMapIsBilinear)
{
    const cv::Mat source = Pattern(30, 30);
    cv::Mat destination(11, 11, CV_8UC3, cv::Scalar::all(0));
    const cv::Rect target(0, 0, 11, 11);
    // Corner 0 at the source's top-right: a quarter turn.
    const double turned[4][2] = {{20, 5}, {20, 15}, {10, 15}, {10, 5}};
    WarpBilinearQuad(source, destination, target, turned, 1);
    EXPECT_EQ(destination.at<cv::Vec3b>(0, 0), source.at<cv::Vec3b>(5, 20));
    EXPECT_EQ(destination.at<cv::Vec3b>(0, 10), source.at<cv::Vec3b>(15, 20));
    EXPECT_EQ(destination.at<cv::Vec3b>(10, 10), source.at<cv::Vec3b>(15, 10));
    EXPECT_EQ(destination.at<cv::Vec3b>(4, 0), source.at<cv::Vec3b>(5, 16));

    // A trapezoid: the centre of the rectangle samples the mean of the four corners, (7.5, 5),
    // halfway between two source pixels (a perspective map would land elsewhere).
    const double trapezoid[4][2] = {{0, 0}, {10, 0}, {20, 10}, {0, 10}};
    WarpBilinearQuad(source, destination, target, trapezoid, 1);
    for (int c = 0; c < 3; ++c) {
        const double expected =
            (source.at<cv::Vec3b>(5, 7)[c] + source.at<cv::Vec3b>(5, 8)[c]) / 2.0;
        EXPECT_NEAR(destination.at<cv::Vec3b>(5, 5)[c], expected, 1.0);
    }
}

TEST(ImageOperations, SetFillsEveryByte)
{
    cv::Mat image = Pattern(9, 7);
    SetImage(image, 0);
    EXPECT_EQ(cv::countNonZero(image.reshape(1)), 0);
    SetImage(image, 17);
    EXPECT_EQ(image.at<cv::Vec3b>(6, 8), cv::Vec3b(17, 17, 17));
}

} // namespace
