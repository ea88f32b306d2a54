#include "faceanalysis/ImageOperations.h"

#include <gtest/gtest.h>
#include <opencv2/core.hpp>

static cv::Mat Pattern(int width, int height)
{
    cv::Mat image(height, width, CV_8UC3);
    cv::randu(image, cv::Scalar::all(1), cv::Scalar::all(255));
    return image;
}

TEST(ImageOperations, AndReadsTheRegionOfTheFirstSourceAndResizeFillsTheDestinationRectangle)
{
    const cv::Mat a = Pattern(30, 20);
    const cv::Mat b(8, 10, CV_8UC3, cv::Scalar(0x0F, 0xF0, 0xFF));
    cv::Mat destination(12, 14, CV_8UC3, cv::Scalar::all(9));
    AndRegion(a, cv::Rect(5, 7, 10, 8), b, destination);
    const cv::Vec3b in = a.at<cv::Vec3b>(7 + 3, 5 + 4);
    EXPECT_EQ(destination.at<cv::Vec3b>(3, 4), cv::Vec3b(in[0] & 0x0F, in[1] & 0xF0, in[2]));
    EXPECT_EQ(destination.at<cv::Vec3b>(10, 12), cv::Vec3b(9, 9, 9));  // beyond the region's size

    cv::Mat source(20, 20, CV_8UC3, cv::Scalar::all(0));
    source.colRange(10, 20).setTo(cv::Scalar(10, 20, 30));
    destination = cv::Mat(50, 50, CV_8UC3, cv::Scalar::all(5));
    ResizeBicubic(source, cv::Rect(10, 0, 10, 20), destination, cv::Rect(3, 4, 30, 40));
    for (const cv::Vec3b& inside : {destination.at<cv::Vec3b>(4, 3), destination.at<cv::Vec3b>(43, 32)})
        EXPECT_EQ(inside, cv::Vec3b(10, 20, 30));
    for (const cv::Vec3b& outside : {destination.at<cv::Vec3b>(3, 2), destination.at<cv::Vec3b>(44, 33)})
        EXPECT_EQ(outside, cv::Vec3b(5, 5, 5));
}

TEST(ImageOperations, QuadrangleWarpCopiesARectangleTurnsWithTheCornerOrderAndIsBilinear)
{
    const cv::Mat source = Pattern(60, 50);
    cv::Mat destination(40, 50, CV_8UC3, cv::Scalar::all(0));
    const double rectangle[4][2] = {{12, 9}, {31, 9}, {31, 23}, {12, 23}};  // pixels 12..31, 9..23
    for (int interpolation : {1, 2}) {
        WarpBilinearQuad(source, destination, cv::Rect(5, 6, 20, 15), rectangle, interpolation);
        EXPECT_EQ(cv::norm(destination(cv::Rect(5, 6, 20, 15)), source(cv::Rect(12, 9, 20, 15))), 0) << interpolation;
    }
    EXPECT_EQ(destination.at<cv::Vec3b>(0, 0), cv::Vec3b(0, 0, 0));
    const double turned[4][2] = {{20, 5}, {20, 15}, {10, 15}, {10, 5}};  // corner 0 at the top right
    WarpBilinearQuad(source, destination, cv::Rect(0, 0, 11, 11), turned, 1);
    EXPECT_EQ(destination.at<cv::Vec3b>(0, 10), source.at<cv::Vec3b>(15, 20));
    EXPECT_EQ(destination.at<cv::Vec3b>(4, 0), source.at<cv::Vec3b>(5, 16));
    // A trapezoid's centre samples the mean of its corners, (7.5, 5); a perspective map would not.
    const double trapezoid[4][2] = {{0, 0}, {10, 0}, {20, 10}, {0, 10}};
    WarpBilinearQuad(source, destination, cv::Rect(0, 0, 11, 11), trapezoid, 1);
    const cv::Vec3d mean = (cv::Vec3d(source.at<cv::Vec3b>(5, 7)) + cv::Vec3d(source.at<cv::Vec3b>(5, 8))) / 2;
    EXPECT_LE(cv::norm(cv::Vec3d(destination.at<cv::Vec3b>(5, 5)) - mean, cv::NORM_INF), 1);
}
