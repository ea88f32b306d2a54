#include "tracking/CHeadTracker.h"

#include "platform/MessageBox.h"
#include "tests/tracking/HeadScenes.h"
#include "tests/tracking/ScopedEnvironment.h"
#include "tests/tracking/TemporaryFolder.h"
#include "tracking/DebugWindowRecorder.h"
#include "tracking/FacePlacement.h"
#include "tracking/FrameSequenceSource.h"
#include "tracking/PreparedSourceOpener.h"
#include "tracking/ValuesPanel.h"
#include "world/CCamera.h"
#include "world/CLevelMap.h"

#include <gtest/gtest.h>
#include <opencv2/core.hpp>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace headscenes;

namespace {

std::string ReadFile(const std::string& name)
{
    std::ifstream file(name);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

bool SamePixels(const cv::Mat& a, const cv::Mat& b)
{
    return a.size() == b.size() && a.type() == b.type() && cv::norm(a, b, cv::NORM_INF) == 0.0;
}

double EyeMidX(const CTrackedFace& face)
{
    return (face.Eye1X() + face.Eye2X()) * 0.5;
}

double EyeMidY(const CTrackedFace& face)
{
    return (face.Eye1Y() + face.Eye2Y()) * 0.5;
}

// A tracker in a temporary working folder, with recorded windows and the world attached.
class HeadTrackerTest : public ::testing::Test {
protected:
    HeadTrackerTest() { tracker.SetWorld(&camera, &levelMap); }

    // Starts the "webcam", which serves the frames (then ends).
    FrameSequenceSource& Start(std::vector<cv::Mat> frames, ImageOrigin origin = TopLeftOrigin)
    {
        auto source = std::make_unique<FrameSequenceSource>(std::move(frames), 25.0, origin);
        FrameSequenceSource& served = *source;
        opener.PrepareCamera(std::move(source));
        EXPECT_TRUE(tracker.StartWebcam());
        return served;
    }

    const CTrackedFace& Face() const { return *tracker.TrackedFaces().at(0); }
    const RestPose& Rest() const { return tracker.Interpreter().Rest(); }

    TemporaryFolder folder;
    DebugWindowRecorder windows;
    PreparedSourceOpener opener;
    CLevelMap levelMap;
    CCamera camera;
    CHeadTracker tracker{windows, opener};
};

TEST_F(HeadTrackerTest, StartsDetectingWithOnlyTheImageViewOn)
{
    EXPECT_EQ(tracker.State(), Detecting);
    EXPECT_EQ(tracker.FrameCounter(), 0);
    EXPECT_TRUE(tracker.ShowImage());
    EXPECT_FALSE(tracker.ShowFrameA());
    EXPECT_FALSE(tracker.ShowFrameB());
    EXPECT_FALSE(tracker.ShowValues());
    EXPECT_FALSE(tracker.PreciseDetection());
    EXPECT_TRUE(windows.Calls().empty());
    // The interpreter has read (here: created) the thresholds and opened the sample files.
    EXPECT_NE(ReadFile("configuracion").find("Distancia X:20"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists("muestrasPosX.m"));
}

TEST_F(HeadTrackerTest, GrabsNothingWithoutACapture)
{
    EXPECT_FALSE(tracker.GrabAndProcess());
    EXPECT_FALSE(tracker.StartWebcam());
    EXPECT_FALSE(tracker.HasCapture());
    EXPECT_FALSE(tracker.GrabAndProcess());
    EXPECT_EQ(tracker.OpenVideoFile("cara.avi"), 0.0);
    EXPECT_FALSE(tracker.HasCapture());
    EXPECT_FALSE(tracker.GrabAndProcess());
    EXPECT_EQ(tracker.State(), Detecting);
}

TEST_F(HeadTrackerTest, OpeningAVideoFileGivesItsFrameRate)
{
    opener.PrepareFile("cara.avi", std::make_unique<FrameSequenceSource>(std::vector<cv::Mat>{FaceFrame()}, 12.5));
    EXPECT_EQ(tracker.OpenVideoFile("cara.avi"), 12.5);
    EXPECT_TRUE(tracker.HasCapture());
    EXPECT_TRUE(CHeadTracker::FreshStart());
    EXPECT_TRUE(tracker.GrabAndProcess());
    EXPECT_EQ(tracker.State(), Tracking);
    EXPECT_FALSE(tracker.GrabAndProcess());
    EXPECT_EQ(tracker.State(), Tracking);
}

TEST_F(HeadTrackerTest, FindsTheFaceInTheFirstFrameAndTakesItsRestPose)
{
    const cv::Mat frame = FaceFrame();
    Start({frame, frame});
    ASSERT_TRUE(CHeadTracker::FreshStart());

    ASSERT_TRUE(tracker.GrabAndProcess());
    EXPECT_EQ(tracker.State(), Tracking);
    EXPECT_FALSE(CHeadTracker::FreshStart());
    EXPECT_EQ(tracker.FrameCounter(), 0);
    ASSERT_EQ(tracker.FaceModels().size(), 1u);
    ASSERT_EQ(tracker.TrackedFaces().size(), 1u);
    EXPECT_EQ(Face().FaceModel(), tracker.FaceModels()[0].get());

    // The rest pose comes straight from the rectangle, in single precision.
    FaceDetector detector;
    const FacePlacement place = FacePlacement::ForNewFace(detector.Detect(frame, false).at(0), 2);
    EXPECT_FLOAT_EQ(Rest().restEyeCentreX, place.points[0] + (place.points[2] - place.points[0]) * 0.5f);
    EXPECT_FLOAT_EQ(Rest().restEyeY, place.points[1]);
    EXPECT_FLOAT_EQ(Rest().restEyeMouth, place.points[5] - place.points[1]);
    EXPECT_NEAR(Rest().restEyeCentreX, 320.0, 10.0);
    EXPECT_FLOAT_EQ(tracker.Interpreter().ThresholdX(), 20 * 0.01f * Rest().restEyeCentreX);
    EXPECT_EQ(Face().Eye1X(), place.wholePoints[0]);
    EXPECT_EQ(Face().MouthY(), place.wholePoints[5]);
    EXPECT_GT(tracker.Measures().ReferenceColumnValue(), 0.0f);

    // "Imagen" shows the plain frame; "Frame" is off.
    const std::vector<cv::Mat> shown = windows.Shown(CHeadTracker::kImageWindow);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(SamePixels(shown[0], frame));
    EXPECT_TRUE(windows.Shown(CHeadTracker::kFrameAWindow).empty());

    // The next frame is a tracking step: the sample goes to the interpreter, the features are
    // marked in white on "Imagen".
    const std::uint32_t samples = MotionInterpreter::SampleCount();
    ASSERT_TRUE(tracker.GrabAndProcess());
    EXPECT_EQ(tracker.State(), Tracking);
    EXPECT_EQ(tracker.FrameCounter(), 1);
    EXPECT_EQ(MotionInterpreter::SampleCount(), samples + 1);
    EXPECT_LT(tracker.LastCost(), CHeadTracker::kCostLimit);
    EXPECT_LE(std::abs(tracker.LastYaw()), 1);
    EXPECT_LE(std::abs(tracker.LastPitch()), 1);
    const std::vector<cv::Mat> marked = windows.Shown(CHeadTracker::kImageWindow);
    ASSERT_EQ(marked.size(), 2u);
    EXPECT_FALSE(SamePixels(marked[1], frame));
    cv::Mat white;
    cv::inRange(marked[1], cv::Scalar(255, 255, 255), cv::Scalar(255, 255, 255), white);
    EXPECT_GT(cv::countNonZero(white), cv::countNonZero(
        [&] { cv::Mat w; cv::inRange(frame, cv::Scalar(255, 255, 255), cv::Scalar(255, 255, 255), w); return w; }()) + 100);
}

TEST_F(HeadTrackerTest, FollowsAFaceMovingRight)
{
    std::vector<cv::Mat> frames;
    for (int step = 0; step <= 10; ++step)
        frames.push_back(FaceFrame({4.0 * step, 0.0, 1.0, 0.0}));
    Start(frames);
    ASSERT_TRUE(tracker.GrabAndProcess());
    const double startX = EyeMidX(Face());
    const double startY = EyeMidY(Face());
    while (tracker.GrabAndProcess())
        ASSERT_EQ(tracker.State(), Tracking);
    EXPECT_EQ(tracker.FrameCounter(), 10);
    EXPECT_NEAR(EyeMidX(Face()) - startX, 40.0, 3.0);
    EXPECT_NEAR(EyeMidY(Face()) - startY, 0.0, 3.0);
}

TEST_F(HeadTrackerTest, BottomLeftFramesAreAnalysedUprightAndHandedBackAsTheyCame)
{
    const cv::Mat frame = FaceFrame();
    const cv::Mat moved = FaceFrame({0.0, 6.0, 1.0, 0.0});
    FrameSequenceSource& source = Start({frame, moved}, BottomLeftOrigin);

    ASSERT_TRUE(tracker.GrabAndProcess());
    ASSERT_EQ(tracker.State(), Tracking);
    // Detection leaves its frame upright.
    EXPECT_EQ(source.LastFrame().origin, TopLeftOrigin);
    EXPECT_TRUE(SamePixels(source.LastFrame().image, frame));
    EXPECT_NEAR(Rest().restEyeY, 193.0, 10.0);
    const double startY = EyeMidY(Face());

    ASSERT_TRUE(tracker.GrabAndProcess());
    ASSERT_EQ(tracker.State(), Tracking);
    // The face moved down in the upright picture, and the frame went back bottom row first.
    EXPECT_NEAR(EyeMidY(Face()) - startY, 6.0, 2.0);
    EXPECT_EQ(source.LastFrame().origin, BottomLeftOrigin);
    EXPECT_TRUE(SamePixels(source.LastFrame().image, source.LastServed()));
    // "Imagen" shows it upright.
    const std::vector<cv::Mat> shown = windows.Shown(CHeadTracker::kImageWindow);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_LT(cv::norm(shown[1], moved, cv::NORM_L1) / moved.total(), 3.0);
}

TEST_F(HeadTrackerTest, LosingTheFaceKeepsModelsAndRestPoseUntilItIsFoundAgain)
{
    const cv::Mat shifted = FaceFrame({30.0, 10.0, 1.0, 0.0});
    Start({FaceFrame(), FaceFrame(), WallFrame(), shifted, shifted});
    ASSERT_TRUE(tracker.GrabAndProcess());
    ASSERT_TRUE(tracker.GrabAndProcess());
    const RestPose rest = Rest();
    const float thresholdX = tracker.Interpreter().ThresholdX();
    const CFaceModel* model = tracker.FaceModels()[0].get();

    ASSERT_TRUE(tracker.GrabAndProcess());
    EXPECT_EQ(tracker.State(), Detecting);
    EXPECT_EQ(tracker.FrameCounter(), 2);

    // Found again, 30 pixels to the right: a new tracked face on the old model.
    ASSERT_TRUE(tracker.GrabAndProcess());
    EXPECT_EQ(tracker.State(), Tracking);
    EXPECT_EQ(tracker.FrameCounter(), 2);
    ASSERT_EQ(tracker.FaceModels().size(), 1u);
    EXPECT_EQ(tracker.FaceModels()[0].get(), model);
    EXPECT_EQ(Face().FaceModel(), model);
    EXPECT_NEAR(EyeMidX(Face()), rest.restEyeCentreX + 30.0, 8.0);
    EXPECT_EQ(Rest().restEyeCentreX, rest.restEyeCentreX);
    EXPECT_EQ(Rest().restFaceCentreY, rest.restFaceCentreY);
    EXPECT_EQ(Rest().restEyeMouth, rest.restEyeMouth);
    EXPECT_EQ(tracker.Interpreter().ThresholdX(), thresholdX);

    ASSERT_TRUE(tracker.GrabAndProcess());
    EXPECT_EQ(tracker.State(), Tracking);
    EXPECT_EQ(tracker.FrameCounter(), 3);
}

TEST_F(HeadTrackerTest, ResetDetectsAtOnceWithANewRestPoseAndTracksAfterOneMoreDetection)
{
    const cv::Mat shifted = FaceFrame({-40.0, 0.0, 1.0, 0.0});
    Start({FaceFrame(), FaceFrame(), shifted, shifted, shifted});
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(tracker.GrabAndProcess());
    const float oldRestX = Rest().restEyeCentreX;

    tracker.ResetTracking();
    EXPECT_EQ(tracker.State(), Detecting);
    EXPECT_FALSE(CHeadTracker::FreshStart());
    ASSERT_EQ(tracker.FaceModels().size(), 1u);
    const CFaceModel* model = tracker.FaceModels()[0].get();
    EXPECT_NEAR(Rest().restEyeCentreX, oldRestX - 40.0, 8.0);
    const RestPose rest = Rest();

    // One more detection, which only rebuilds the tracked face, then tracking.
    ASSERT_TRUE(tracker.GrabAndProcess());
    EXPECT_EQ(tracker.State(), Tracking);
    EXPECT_EQ(tracker.FaceModels()[0].get(), model);
    EXPECT_EQ(Rest().restEyeCentreX, rest.restEyeCentreX);
    const std::int32_t steps = tracker.FrameCounter();
    ASSERT_TRUE(tracker.GrabAndProcess());
    EXPECT_EQ(tracker.FrameCounter(), steps + 1);
    EXPECT_EQ(tracker.State(), Tracking);
}

TEST_F(HeadTrackerTest, ResetBeforeAnyFrameOnlyDropsTheFaces)
{
    Start({FaceFrame()});
    tracker.ResetTracking();
    EXPECT_EQ(tracker.State(), Detecting);
    EXPECT_TRUE(tracker.FaceModels().empty());
    EXPECT_TRUE(CHeadTracker::FreshStart());
    EXPECT_TRUE(windows.Calls().empty());
}

TEST_F(HeadTrackerTest, ANewSourceDropsTheFacesAndTheOldFrame)
{
    Start({FaceFrame()});
    ASSERT_TRUE(tracker.GrabAndProcess());
    ASSERT_EQ(tracker.State(), Tracking);
    Start({WallFrame()});
    EXPECT_EQ(tracker.State(), Detecting);
    EXPECT_TRUE(tracker.TrackedFaces().empty());
    EXPECT_TRUE(CHeadTracker::FreshStart());
    // The old frame belonged to the old source: nothing is left to detect in.
    tracker.ResetTracking();
    EXPECT_TRUE(tracker.FaceModels().empty());
}

TEST_F(HeadTrackerTest, WithTwoFacesTheRestPoseIsThatOfTheFollowedFace)
{
    Start({TwoFacesFrame(), TwoFacesFrame()});
    ASSERT_TRUE(tracker.GrabAndProcess());
    ASSERT_EQ(tracker.TrackedFaces().size(), 2u);
    ASSERT_EQ(tracker.FaceModels().size(), 2u);
    EXPECT_EQ(tracker.TrackedFaces()[1]->FaceModel(), tracker.FaceModels()[1].get());
    const double followedX = EyeMidX(Face());
    const double otherX = EyeMidX(*tracker.TrackedFaces()[1]);
    ASSERT_GT(std::abs(followedX - otherX), 200.0);
    EXPECT_NEAR(Rest().restEyeCentreX, followedX, 1.0);
    ASSERT_TRUE(tracker.GrabAndProcess());
    EXPECT_EQ(tracker.State(), Tracking);
}

TEST_F(HeadTrackerTest, FindingMoreFacesAgainThanThereAreModelsFollowsFaceZero)
{
    Start({FaceFrame(), WallFrame(), WallFrame(), TwoFacesFrame(), TwoFacesFrame()});
    ASSERT_TRUE(tracker.GrabAndProcess());
    ASSERT_TRUE(tracker.GrabAndProcess());
    ASSERT_EQ(tracker.State(), Detecting);
    ASSERT_TRUE(tracker.GrabAndProcess());
    ASSERT_EQ(tracker.State(), Detecting);

    ASSERT_TRUE(tracker.GrabAndProcess());
    EXPECT_EQ(tracker.State(), Tracking);
    ASSERT_EQ(tracker.FaceModels().size(), 1u);
    ASSERT_EQ(tracker.TrackedFaces().size(), 1u);
    EXPECT_EQ(Face().FaceModel(), tracker.FaceModels()[0].get());
    tracker.GrabAndProcess();
}

TEST_F(HeadTrackerTest, PreciseDetectionFindsTheFaceOnTheFullFrame)
{
    tracker.SetPreciseDetection(true);
    EXPECT_TRUE(tracker.PreciseDetection());
    Start({FaceFrame(), FaceFrame({5.0, 0.0, 1.0, 0.0})});
    ASSERT_TRUE(tracker.GrabAndProcess());
    EXPECT_EQ(tracker.State(), Tracking);
    EXPECT_NEAR(Rest().restEyeCentreX, 320.0, 10.0);
    ASSERT_TRUE(tracker.GrabAndProcess());
    EXPECT_EQ(tracker.State(), Tracking);
}

TEST_F(HeadTrackerTest, WithoutTheCascadeThePlayerIsToldOnceAndNoFaceIsEverFound)
{
    ScopedEnvironment missing(FaceDetector::kCascadeVariable, std::string("/nonexistent/caras.xml"));
    MessageCapture messages;
    Start({FaceFrame(), FaceFrame(), FaceFrame()});
    while (tracker.GrabAndProcess())
        EXPECT_EQ(tracker.State(), Detecting);
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0].caption, kApplicationTitle);
    EXPECT_NE(messages.Messages()[0].text.find("/nonexistent/caras.xml"), std::string::npos);
    EXPECT_TRUE(CHeadTracker::FreshStart());
}

TEST_F(HeadTrackerTest, ViewSwitchesOpenAndCloseTheirWindows)
{
    tracker.OpenImageWindow();
    EXPECT_TRUE(windows.IsOpen("Imagen"));
    tracker.SetImageView(false);
    EXPECT_FALSE(windows.IsOpen("Imagen"));
    EXPECT_FALSE(tracker.ShowImage());
    tracker.SetFrameAView(true);
    tracker.SetFrameBView(true);
    EXPECT_TRUE(windows.IsOpen("Frame"));
    EXPECT_TRUE(windows.IsOpen("Frame B"));
    tracker.SetValuesView(true);
    EXPECT_TRUE(windows.IsOpen(ValuesPanel::kWindowName));
    EXPECT_TRUE(tracker.Interpreter().ValuesWindowOpen());

    // With "Cámara" off the frames stay out of "Imagen"; the analysis views are filled.
    Start({FaceFrame(), FaceFrame(), FaceFrame()});
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(tracker.GrabAndProcess());
    EXPECT_TRUE(windows.Shown("Imagen").empty());
    const std::vector<cv::Mat> frameA = windows.Shown("Frame");
    ASSERT_EQ(frameA.size(), 3u);  // the detection and two tracking steps
    EXPECT_EQ(frameA[2].size(), cv::Size(400, 280));
    EXPECT_GT(cv::countNonZero(frameA[2].reshape(1)), 0);
    const std::vector<cv::Mat> frameB = windows.Shown("Frame B");
    ASSERT_EQ(frameB.size(), 2u);
    EXPECT_EQ(frameB[1].size(), cv::Size(400, 370));

    tracker.SetFrameAView(false);
    tracker.SetFrameBView(false);
    tracker.SetValuesView(false);
    EXPECT_FALSE(windows.IsOpen("Frame"));
    EXPECT_FALSE(windows.IsOpen("Frame B"));
    EXPECT_FALSE(windows.IsOpen(ValuesPanel::kWindowName));
    EXPECT_FALSE(tracker.Interpreter().ValuesWindowOpen());
}

TEST_F(HeadTrackerTest, DialogValuesReachTheInterpreter)
{
    tracker.SetDistanceX(35);
    tracker.SetDistanceY(25);
    tracker.SetDistanceZ(15);
    tracker.SetYawThreshold(5);
    tracker.SetPitchUpThreshold(12);
    tracker.SetPitchDownThreshold(-3);
    tracker.SetRollThreshold(8);
    const MotionInterpreter& interpreter = tracker.Interpreter();
    EXPECT_EQ(interpreter.DistanceX(), 35);
    EXPECT_EQ(tracker.DistanceY(), 25);
    EXPECT_EQ(tracker.DistanceZ(), 15);
    EXPECT_EQ(interpreter.YawLeftLimit(), -5);
    EXPECT_EQ(tracker.YawThreshold(), 5);
    EXPECT_EQ(tracker.PitchUpThreshold(), 12);
    EXPECT_EQ(tracker.PitchDownThreshold(), -3);
    EXPECT_EQ(tracker.RollThreshold(), 8);

    tracker.SetMoveX(false);
    tracker.SetRotateZ(false);
    EXPECT_FALSE(interpreter.MoveX());
    EXPECT_FALSE(tracker.RotateZ());
    EXPECT_TRUE(tracker.MoveY());
    EXPECT_TRUE(tracker.MoveZ());
    EXPECT_TRUE(tracker.RotateX());
    EXPECT_TRUE(tracker.RotateY());

    ASSERT_TRUE(tracker.SaveThresholds());
    EXPECT_NE(ReadFile("configuracion").find("Distancia X:35"), std::string::npos);

    Start({FaceFrame()});
    ASSERT_TRUE(tracker.GrabAndProcess());
    EXPECT_FLOAT_EQ(interpreter.ThresholdX(), 35 * 0.01f * interpreter.Rest().restEyeCentreX);
    tracker.SetDistanceX(10);
    tracker.UpdatePixelThresholds();
    EXPECT_FLOAT_EQ(interpreter.ThresholdX(), 10 * 0.01f * interpreter.Rest().restEyeCentreX);
}

TEST_F(HeadTrackerTest, BetweenCapturesTheHeldHeadKeepsSteeringOnlyWhileTracking)
{
    // Still for the smoothing, then held 120 pixels to the left: the camera side-steps right.
    std::vector<cv::Mat> frames(6, FaceFrame());
    for (int step = 1; step <= 20; ++step)
        frames.push_back(FaceFrame({-6.0 * step, 0.0, 1.0, 0.0}));
    frames.insert(frames.end(), 5, FaceFrame({-120.0, 0.0, 1.0, 0.0}));
    Start(frames);

    tracker.InterpretBetweenFrames();
    EXPECT_EQ(camera.Eye(), CCamera().Eye());
    while (tracker.GrabAndProcess())
        ASSERT_EQ(tracker.State(), Tracking);

    const float x = camera.Eye().x;
    tracker.InterpretBetweenFrames();
    const float once = camera.Eye().x;
    tracker.InterpretBetweenFrames();
    EXPECT_GT(once, x);
    EXPECT_GT(camera.Eye().x, once);
}

TEST(HeadTrackerEnd, DestroyingTheTrackerCompletesTheSampleFiles)
{
    TemporaryFolder folder;
    {
        DebugWindowRecorder windows;
        PreparedSourceOpener opener;
        CHeadTracker tracker(windows, opener);
    }
    const std::string text = ReadFile("muestrasGiroZ.m");
    EXPECT_EQ(text.rfind("giroZ =[0", 0), 0u);
    EXPECT_NE(text.find("]\n"), std::string::npos);
    EXPECT_NE(text.find("giroZ = [(1:columns(giroZ)); giroZ]'"), std::string::npos);
}

} // namespace
