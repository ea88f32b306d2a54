#include "faceanalysis/FaceAnalysisDrawing.h"

#include "tests/faceanalysis/FaceTestFrames.h"

#include <tuple>

using namespace facetest;

static const cv::Vec3b kBlack(0, 0, 0);
static const cv::Vec3b kWhite(255, 255, 255);

static int Count(const cv::Mat& image, cv::Vec3b colour)
{
    cv::Mat same;
    cv::inRange(image, colour, colour, same);
    return cv::countNonZero(same);
}

TEST(FaceAnalysisDrawing, LabelsAndTheProfileViewBackground)
{
    EXPECT_EQ(FrameLabel(7) + FrameLabel(1234), "Frame:007Frame:1234");
    EXPECT_EQ(DistanceLabel(2.5) + DistanceLabel(1e51), "Dist:2.500000Dist:inf");  // printed as a float
    const cv::Mat& background = ProfileViewBackground();
    ASSERT_EQ(background.size(), cv::Size(400, 370));
    EXPECT_EQ(&background, &ProfileViewBackground());
    for (const cv::Rect pane : {cv::Rect(31, 37, 163, 179), cv::Rect(207, 37, 155, 179), cv::Rect(31, 255, 163, 83),
                                cv::Rect(207, 255, 155, 83)}) {
        EXPECT_EQ(Count(background(pane), kBlack), pane.area());
        EXPECT_EQ(background.at<cv::Vec3b>(pane.y - 1, pane.x - 1), cv::Vec3b(175, 175, 175));
        double darkest = 0;  // the caption's letters just above the pane
        cv::minMaxLoc(background(cv::Rect(pane.x, pane.y - 20, 40, 16)).reshape(1), &darkest);
        EXPECT_LT(darkest, 100);
    }
}

TEST(FaceAnalysisDrawing, AnalysisAndProfileViewsShowTheTrackedFaceOrLeaveViewsOfTheWrongSizeUntouched)
{
    PortraitFace portrait;
    CTrackedFace& face = portrait.face;
    cv::Mat wrong(280, 401, CV_8UC3, cv::Scalar::all(33));
    cv::Mat view(280, 400, CV_8UC3, cv::Scalar::all(33));
    face.DrawAnalysisView(Portrait(), wrong, "FRAME A", 1, 0.0, false);
    face.DrawProfileView(view);
    EXPECT_EQ(Count(wrong, cv::Vec3b(33, 33, 33)) + Count(view, cv::Vec3b(33, 33, 33)), 280 * 801);
    EXPECT_EQ(face.ViewZoomX(), 0.0);

    cv::Mat marks(Portrait().size(), CV_8UC3, cv::Scalar(0, 0, 255));
    face.DrawFeatures(marks, 1, 0x000000, 0xFFFFFF, true, false);
    // The left eye at (204, 102): the mark's centre is inner black, a pixel off it outer white.
    EXPECT_EQ(marks.at<cv::Vec3b>(102, 204), kBlack);
    EXPECT_EQ(marks.at<cv::Vec3b>(103, 206), kWhite);

    face.DrawAnalysisView(Portrait(), view, "FRAME A", 7, 2.5, false);
    // Height T(3.333333333333333 * 46.5) = 155 (the product rounds up to 155.0), width
    // T(0.8 * 155) = 124, about the ellipse's centre (224.5, 112.5).
    EXPECT_EQ((std::vector<int>{face.ViewCropX(), face.ViewCropY(), face.ViewCropWidth(), face.ViewCropHeight()}),
              (std::vector<int>{162, 35, 124, 155}));
    EXPECT_EQ(std::pair(face.ViewZoomX(), face.ViewZoomY()), std::pair(196.0 / 124, 246.0 / 155));
    EXPECT_GT(cv::countNonZero(view(cv::Rect(204, 129, 192, 121)).reshape(1)), 60000);  // the mouth
    EXPECT_GT(Count(view(cv::Rect(4, 4, 196, 246)), kWhite), 100);  // the marks
    EXPECT_GT(Count(view.rowRange(252, 280), kWhite), 200);  // the caption

    RecordingSink sink;
    double cost = 0;
    const cv::Mat moved = MovedFrame(Motion(0, 1, {3, 0}));
    ASSERT_TRUE(face.Update(sink, moved, cost, 12.0));
    face.DrawAnalysisView(moved, view, "FRAME A", 1, cost, false);
    EXPECT_EQ(face.ViewCropX(), 162);  // kept until refreshed
    face.DrawAnalysisView(moved, view, "FRAME A", 2, cost, true);
    EXPECT_NEAR(face.ViewCropX(), 165, 1);

    cv::Mat profiles(370, 400, CV_8UC3);
    face.DrawProfileView(profiles);
    EXPECT_GT(cv::countNonZero(profiles(cv::Rect(31, 37, 163, 179)).reshape(1)), 20000);  // the masked face
    for (const cv::Rect pane : {cv::Rect(207, 37, 155, 179), cv::Rect(31, 255, 163, 83), cv::Rect(207, 255, 155, 83)}) {
        EXPECT_GT(Count(profiles(pane), kBlack), 50);  // two plots
        EXPECT_GT(Count(profiles(pane), kWhite), pane.area() / 2);
    }
}

TEST(FaceAnalysisDrawing, TheCropStopsAtTheFrameEdges)
{
    const cv::Mat frame(240, 320, CV_8UC3, cv::Scalar::all(90));
    cv::Mat view(280, 400, CV_8UC3);
    using Case = std::tuple<FaceEllipse, int, int>;  // the crop's corner; -1: at the far edge
    for (const auto& [ellipse, x, y] : {Case{FaceEllipse(-20, 60, 40, 160), 0, 27},
                                        {FaceEllipse(280, 150, 340, 250), -1, -1},
                                        {FaceEllipse(0, -200, 300, 600), 54, 0},  // taller than the frame
                                        {FaceEllipse(100, 100, 140, 100), 119, 99}}) {  // no height at all
        CTrackedFace face(100, 100, 140, 100, 120, 140, ellipse);
        face.DrawAnalysisView(frame, view, "FRAME A", 0, 0.0, false);
        EXPECT_EQ(face.ViewCropX(), x < 0 ? 320 - face.ViewCropWidth() : x) << ellipse.centreX;
        EXPECT_EQ(face.ViewCropY(), y < 0 ? 240 - face.ViewCropHeight() : y) << ellipse.centreX;
        EXPECT_GE(face.ViewCropHeight(), 1) << ellipse.centreX;
        EXPECT_LE(face.ViewCropHeight(), 240) << ellipse.centreX;
        EXPECT_GT(face.ViewZoomY(), 0) << ellipse.centreX;
    }
}
