#include "faceanalysis/CFaceModel.h"
#include "faceanalysis/CTrackedFace.h"
#include "faceanalysis/FaceAnalysisDrawing.h"
#include "faceanalysis/IntensityProfile.h"
#include "faceanalysis/MotionSampleSink.h"

#include "FaceTestFrames.h"

#include <gtest/gtest.h>
#include <opencv2/core.hpp>

#include <memory>

namespace {

using namespace facetest;

bool Same(const cv::Mat& a, const cv::Mat& b)
{
    return a.size() == b.size() && cv::norm(a, b, cv::NORM_INF) == 0;
}

int Count(const cv::Mat& image, cv::Vec3b colour)
{
    int n = 0;
    for (int y = 0; y < image.rows; ++y)
        for (int x = 0; x < image.cols; ++x)
            n += image.at<cv::Vec3b>(y, x) == colour;
    return n;
}

struct NullSink : MotionSampleSink {
    void AddSample(float, float, float, float, float, float) override {}
};

TEST(FaceAnalysisDrawing, PackedColoursAreRedGreenBlueHighToLow)
{
    EXPECT_EQ(PackedColour(0xFFFFFF), cv::Scalar(255, 255, 255));
    EXPECT_EQ(PackedColour(0x102030), cv::Scalar(0x30, 0x20, 0x10));
}

TEST(FaceAnalysisDrawing, LabelsPadTheFrameNumberAndPrintSixDecimals)
{
    EXPECT_EQ(FrameLabel(7), "Frame:007");
    EXPECT_EQ(FrameLabel(0), "Frame:000");
    EXPECT_EQ(FrameLabel(1234), "Frame:1234");
    EXPECT_EQ(DistanceLabel(2.5), "Dist:2.500000");
    // The value is shown as a float.
    EXPECT_EQ(DistanceLabel(0.1), "Dist:0.100000");
    EXPECT_EQ(DistanceLabel(1e51), "Dist:inf");
}

TEST(FaceAnalysisDrawing, HorizontalPlotSpansTheWindowAndClearsToWhite)
{
    cv::Mat pane(54, 100, CV_8UC3, cv::Scalar::all(0));
    // Window 0..9: ten indices over 100 columns; 270 grey levels over 54 rows.
    const IntensityProfile profile(0, {0.0f, 135.0f, 135.0f, 135.0f, 135.0f, 135.0f, 135.0f,
                                       135.0f, 135.0f, 265.0f});
    PlotProfile(profile, 0, 9, pane, false, true, 1, 0x000000, 0, 0);
    EXPECT_EQ(pane.at<cv::Vec3b>(53, 99), cv::Vec3b(255, 255, 255));
    EXPECT_EQ(pane.at<cv::Vec3b>(0, 0), cv::Vec3b(0, 0, 0));
    EXPECT_EQ(pane.at<cv::Vec3b>(26, 50), cv::Vec3b(0, 0, 0));
    EXPECT_EQ(pane.at<cv::Vec3b>(52, 90), cv::Vec3b(0, 0, 0));

    // Vertical: index downwards, value to the right; markers in their own colour.
    cv::Mat column(100, 54, CV_8UC3, cv::Scalar::all(255));
    PlotProfile(profile, 0, 9, column, true, false, 1, 0xFF0000, 2, 0x00FF00);
    EXPECT_EQ(column.at<cv::Vec3b>(35, 26), cv::Vec3b(0, 0, 255));
    EXPECT_EQ(column.at<cv::Vec3b>(12, 28), cv::Vec3b(0, 255, 0));
}

TEST(FaceAnalysisDrawing, ProfileViewBackgroundFramesFourPanesWithCaptions)
{
    const cv::Mat& background = ProfileViewBackground();
    ASSERT_EQ(background.size(), cv::Size(400, 370));
    EXPECT_EQ(&background, &ProfileViewBackground());
    EXPECT_EQ(background.at<cv::Vec3b>(2, 2), cv::Vec3b(175, 175, 175));
    for (const cv::Rect pane : {cv::Rect(31, 37, 163, 179), cv::Rect(207, 37, 155, 179),
                                cv::Rect(31, 255, 163, 83), cv::Rect(207, 255, 155, 83)}) {
        EXPECT_EQ(cv::countNonZero(background(pane).reshape(1)), 0);
        EXPECT_EQ(background.at<cv::Vec3b>(pane.y - 1, pane.x - 1), cv::Vec3b(175, 175, 175));
        // Dark caption letters just above each pane.
        const cv::Mat strip = background(cv::Rect(pane.x, pane.y - 20, 40, 16));
        double darkest = 0;
        cv::minMaxLoc(strip.reshape(1), &darkest);
        EXPECT_LT(darkest, 100);
    }
}

class DrawnPortrait : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(Portrait().empty());
        const FacePoints start = StartPoints(FaceBox);
        const cv::Rect region = SearchRegion(FaceBox);
        const FaceEllipse ellipse(region.x, region.y, region.br().x, region.br().y);
        model.Analyse(Portrait(), int(start.eye1.x), int(start.eye1.y), int(start.eye2.x),
                      int(start.eye2.y), int(start.mouth.x), int(start.mouth.y), ellipse);
        face = std::make_unique<CTrackedFace>(int(start.eye1.x), int(start.eye1.y),
                                              int(start.eye2.x), int(start.eye2.y),
                                              int(start.mouth.x), int(start.mouth.y), ellipse);
        face->SetFaceModel(&model);
    }

    CFaceModel model;
    std::unique_ptr<CTrackedFace> face;
};

TEST_F(DrawnPortrait, ViewsOfTheWrongSizeAreUntouched)
{
    cv::Mat analysis(280, 401, CV_8UC3, cv::Scalar::all(33));
    const cv::Mat analysisBefore = analysis.clone();
    face->DrawAnalysisView(Portrait(), analysis, "FRAME A", 1, 0.0, false);
    EXPECT_TRUE(Same(analysis, analysisBefore));
    EXPECT_EQ(face->ViewZoomX(), 0.0);

    cv::Mat profiles(280, 400, CV_8UC3, cv::Scalar::all(33));
    const cv::Mat profilesBefore = profiles.clone();
    face->DrawProfileView(profiles);
    EXPECT_TRUE(Same(profiles, profilesBefore));
}

TEST_F(DrawnPortrait, AnalysisViewShowsCloseUpsFaceAndTexts)
{
    cv::Mat view(280, 400, CV_8UC3, cv::Scalar::all(33));
    face->DrawAnalysisView(Portrait(), view, "FRAME A", 7, 2.5, false);
    // Crop: height T(3.333333333333333 * 46.5) = 155 (the product rounds up to 155.0), width
    // T(0.8 * 155) = 124, centred on the ellipse at (224.5, 112.5).
    EXPECT_EQ(face->ViewCropHeight(), 155);
    EXPECT_EQ(face->ViewCropWidth(), 124);
    EXPECT_EQ(face->ViewCropX(), 162);
    EXPECT_EQ(face->ViewCropY(), 35);
    EXPECT_DOUBLE_EQ(face->ViewZoomX(), 196.0 / 124);
    EXPECT_DOUBLE_EQ(face->ViewZoomY(), 246.0 / 155);

    // The gaps between panes stay black; the panes hold the picture.
    EXPECT_EQ(view.at<cv::Vec3b>(2, 2), cv::Vec3b(0, 0, 0));
    EXPECT_EQ(view.at<cv::Vec3b>(127, 300), cv::Vec3b(0, 0, 0));
    EXPECT_GT(cv::countNonZero(view(cv::Rect(204, 4, 94, 121)).reshape(1)), 20000);
    EXPECT_GT(cv::countNonZero(view(cv::Rect(204, 129, 192, 121)).reshape(1)), 60000);
    // White marks in the face pane and white text along the bottom.
    EXPECT_GT(Count(view(cv::Rect(4, 4, 196, 246)), cv::Vec3b(255, 255, 255)), 100);
    EXPECT_GT(Count(view(cv::Rect(0, 252, 400, 28)), cv::Vec3b(255, 255, 255)), 200);
    EXPECT_GT(Count(view(cv::Rect(285, 252, 115, 28)), cv::Vec3b(255, 255, 255)), 50);
}

TEST_F(DrawnPortrait, CropIsKeptUntilRefreshed)
{
    cv::Mat view(280, 400, CV_8UC3);
    face->DrawAnalysisView(Portrait(), view, "FRAME A", 0, 0.0, false);
    const int x = face->ViewCropX();
    NullSink sink;
    double cost = 0;
    const cv::Mat moved = MovedFrame(Portrait(), Motion({0, 0}, 0, 1, {3, 0}), Portrait().size());
    ASSERT_TRUE(face->Update(sink, moved, cost, 12.0));
    face->DrawAnalysisView(moved, view, "FRAME A", 1, cost, false);
    EXPECT_EQ(face->ViewCropX(), x);
    face->DrawAnalysisView(moved, view, "FRAME A", 2, cost, true);
    EXPECT_NEAR(face->ViewCropX(), x + 3, 1);
}

TEST(FaceAnalysisDrawingCrop, CropStopsAtTheFrameEdges)
{
    const cv::Mat frame(240, 320, CV_8UC3, cv::Scalar::all(90));
    cv::Mat view(280, 400, CV_8UC3);

    CTrackedFace left(5, 100, 25, 100, 15, 130, FaceEllipse(-20, 60, 40, 160));
    left.DrawAnalysisView(frame, view, "FRAME A", 0, 0.0, false);
    EXPECT_EQ(left.ViewCropX(), 0);
    EXPECT_EQ(left.ViewCropY(), 27);

    CTrackedFace right(295, 200, 315, 200, 305, 230, FaceEllipse(280, 150, 340, 250));
    right.DrawAnalysisView(frame, view, "FRAME A", 0, 0.0, false);
    EXPECT_EQ(right.ViewCropX(), 320 - right.ViewCropWidth());
    EXPECT_EQ(right.ViewCropY(), 240 - right.ViewCropHeight());

    // A face taller than the frame, and one with no height at all, still draw.
    CTrackedFace huge(100, 100, 140, 100, 120, 140, FaceEllipse(0, -200, 300, 600));
    huge.DrawAnalysisView(frame, view, "FRAME A", 0, 0.0, false);
    EXPECT_LE(huge.ViewCropHeight(), 240);
    EXPECT_EQ(huge.ViewCropY(), 0);
    CTrackedFace flat(100, 100, 140, 100, 120, 140, FaceEllipse(100, 100, 140, 100));
    flat.DrawAnalysisView(frame, view, "FRAME A", 0, 0.0, false);
    EXPECT_GE(flat.ViewCropHeight(), 1);
    EXPECT_GT(flat.ViewZoomY(), 0.0);
}

TEST_F(DrawnPortrait, ProfileViewShowsTheFaceAndThePlots)
{
    NullSink sink;
    double cost = 0;
    ASSERT_TRUE(face->Update(sink, Portrait(), cost, 12.0));
    cv::Mat view(370, 400, CV_8UC3, cv::Scalar::all(33));
    face->DrawProfileView(view);
    EXPECT_EQ(view.at<cv::Vec3b>(2, 2), cv::Vec3b(175, 175, 175));
    EXPECT_GT(cv::countNonZero(view(cv::Rect(31, 37, 163, 179)).reshape(1)), 20000);
    for (const cv::Rect pane : {cv::Rect(207, 37, 155, 179), cv::Rect(31, 255, 163, 83),
                                cv::Rect(207, 255, 155, 83)}) {
        const int black = Count(view(pane), cv::Vec3b(0, 0, 0));
        const int white = Count(view(pane), cv::Vec3b(255, 255, 255));
        EXPECT_GT(black, 50);
        EXPECT_GT(white, pane.area() / 2);
    }
}

TEST_F(DrawnPortrait, FeatureMarksWideOuterThinInner)
{
    cv::Mat image(Portrait().size(), CV_8UC3, cv::Scalar(0, 0, 255));
    face->DrawFeatures(image, 1, 0x000000, 0xFFFFFF, true, false);
    // Eye 1 at (204, 102): the mark's centre is inner black, one pixel off it outer white.
    EXPECT_EQ(image.at<cv::Vec3b>(102, 204), cv::Vec3b(0, 0, 0));
    EXPECT_EQ(image.at<cv::Vec3b>(103, 206), cv::Vec3b(255, 255, 255));
    EXPECT_EQ(image.at<cv::Vec3b>(143, 225), cv::Vec3b(0, 0, 0));
    EXPECT_EQ(Count(image(cv::Rect(150, 40, 150, 170)), cv::Vec3b(0, 0, 255)) > 0, true);
    const int marked = Count(image, cv::Vec3b(255, 255, 255));

    face->DrawFeatures(image, 1, 0x000000, 0xFFFFFF, true, true);
    EXPECT_GT(Count(image, cv::Vec3b(255, 255, 255)), marked + 200);
}

} // namespace
