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

TEST(ImageOperations, ForwardWarpCopiesInPlaceMapsSourceOntoDestinationAndInterpolatesBilinearly)
{
    const cv::Mat source = Pattern(40, 30);
    cv::Mat destination(20, 50, CV_8UC3, cv::Scalar::all(7));
    const unsigned char* pixels = destination.data;
    const double identity[6] = {1, 0, 0, 0, 1, 0};
    WarpAffineForward(source, destination, identity);
    EXPECT_TRUE(destination.data == pixels && Same(destination.colRange(0, 40), source.rowRange(0, 20)));
    EXPECT_EQ(destination.at<cv::Vec3b>(10, 45), cv::Vec3b(0, 0, 0));  // beyond the source: black
    const double halfTurn[6] = {-1, 0, 40, 0, -1, 25};  // source (10, 12) lands at (30, 13)
    WarpAffineForward(source, destination, halfTurn);
    EXPECT_EQ(destination.at<cv::Vec3b>(13, 30), source.at<cv::Vec3b>(12, 10));

    cv::Mat column(4, 4, CV_8UC3, cv::Scalar::all(0));
    column.col(2).setTo(cv::Scalar::all(200));
    const double halfPixel[6] = {1, 0, 0.5, 0, 1, 0};
    WarpAffineForward(column.clone(), column, halfPixel);
    EXPECT_NEAR(column.at<cv::Vec3b>(1, 2)[0], 100, 1);
    EXPECT_NEAR(column.at<cv::Vec3b>(1, 3)[0], 100, 1);
}

TEST(ImageOperations, AndReadsTheRegionOfTheFirstSourceAndResizeFillsTheDestinationRectangle)
{
    const cv::Mat a = Pattern(30, 20);
    cv::Mat b(8, 10, CV_8UC3, cv::Scalar(0x0F, 0xF0, 0xFF));
    cv::Mat destination(12, 14, CV_8UC3, cv::Scalar::all(9));
    AndRegion(a, cv::Rect(5, 7, 10, 8), b, destination);
    const cv::Vec3b in = a.at<cv::Vec3b>(7 + 3, 5 + 4);
    EXPECT_EQ(destination.at<cv::Vec3b>(3, 4), cv::Vec3b(in[0] & 0x0F, in[1] & 0xF0, in[2]));
    EXPECT_EQ(destination.at<cv::Vec3b>(10, 12), cv::Vec3b(9, 9, 9));  // beyond the region's size

    cv::Mat source(20, 20, CV_8UC3, cv::Scalar::all(0));
    source.colRange(10, 20).setTo(cv::Scalar(10, 20, 30));
    destination.create(50, 50, CV_8UC3);
    destination.setTo(cv::Scalar::all(5));
    ResizeBicubic(source, cv::Rect(10, 0, 10, 20), destination, cv::Rect(3, 4, 30, 40));
    for (const cv::Point inside : {cv::Point(3, 4), cv::Point(32, 43)})
        EXPECT_EQ(destination.at<cv::Vec3b>(inside), cv::Vec3b(10, 20, 30));
    for (const cv::Point outside : {cv::Point(2, 3), cv::Point(33, 44)})
        EXPECT_EQ(destination.at<cv::Vec3b>(outside), cv::Vec3b(5, 5, 5));
}

TEST(ImageOperations, QuadrangleWarpCopiesARectangleTurnsWithTheCornerOrderAndIsBilinear)
{
    const cv::Mat source = Pattern(60, 50);
    cv::Mat destination(40, 50, CV_8UC3, cv::Scalar::all(0));
    const double rectangle[4][2] = {{12, 9}, {31, 9}, {31, 23}, {12, 23}};  // pixels 12..31, 9..23
    for (int interpolation : {1, 2}) {
        WarpBilinearQuad(source, destination, cv::Rect(5, 6, 20, 15), rectangle, interpolation);
        EXPECT_TRUE(Same(destination(cv::Rect(5, 6, 20, 15)), source(cv::Rect(12, 9, 20, 15)))) << interpolation;
    }
    EXPECT_EQ(destination.at<cv::Vec3b>(0, 0), cv::Vec3b(0, 0, 0));

    const double turned[4][2] = {{20, 5}, {20, 15}, {10, 15}, {10, 5}};  // corner 0 at the top right
    WarpBilinearQuad(source, destination, cv::Rect(0, 0, 11, 11), turned, 1);
    EXPECT_TRUE(destination.at<cv::Vec3b>(0, 10) == source.at<cv::Vec3b>(15, 20) &&
                destination.at<cv::Vec3b>(4, 0) == source.at<cv::Vec3b>(5, 16));
    // A trapezoid's centre samples the mean of its corners, (7.5, 5); a perspective map would not.
    const double trapezoid[4][2] = {{0, 0}, {10, 0}, {20, 10}, {0, 10}};
    WarpBilinearQuad(source, destination, cv::Rect(0, 0, 11, 11), trapezoid, 1);
    const cv::Vec3d between = (cv::Vec3d(source.at<cv::Vec3b>(5, 7)) + cv::Vec3d(source.at<cv::Vec3b>(5, 8))) / 2;
    EXPECT_LE(cv::norm(cv::Vec3d(destination.at<cv::Vec3b>(5, 5)) - between, cv::NORM_INF), 1.0);
}

} // namespace
