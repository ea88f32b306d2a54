#include "tracking/CHeadTracker.h"

#include "tests/tracking/HeadScenes.h"
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

using namespace headscenes;

namespace {

bool SamePixels(const cv::Mat& a, const cv::Mat& b)
{
    return a.size() == b.size() && a.type() == b.type() && cv::norm(a, b, cv::NORM_INF) == 0.0;
}

// A tracker in a temporary working folder, with recorded windows and the world attached.
class HeadTrackerTest : public ::testing::Test {
protected:
    HeadTrackerTest() { tracker.SetWorld(&camera, &levelMap); }

    // Starts the "webcam", which serves the frames, then stops answering.
    FrameSequenceSource& Start(std::vector<cv::Mat> frames, ImageOrigin origin = TopLeftOrigin)
    {
        auto source = std::make_unique<FrameSequenceSource>(std::move(frames), 25.0, origin);
        FrameSequenceSource& served = *source;
        opener.PrepareCamera(std::move(source));
        EXPECT_TRUE(tracker.StartWebcam());
        return served;
    }
    void Grab(int frames)
    {
        for (int i = 0; i < frames; ++i)
            ASSERT_TRUE(tracker.GrabAndProcess());
    }
    double EyeMidX(std::size_t face = 0) const
    {
        return (tracker.TrackedFaces().at(face)->Eye1X() + tracker.TrackedFaces().at(face)->Eye2X()) * 0.5;
    }
    const RestPose& Rest() const { return tracker.Interpreter().Rest(); }

    TemporaryFolder folder;
    DebugWindowRecorder windows;
    PreparedSourceOpener opener;
    CLevelMap levelMap;
    CCamera camera;
    CHeadTracker tracker{windows, opener};
};

TEST_F(HeadTrackerTest, WithoutASourceNothingIsGrabbed)
{
    EXPECT_FALSE(tracker.StartWebcam());
    EXPECT_EQ(tracker.OpenVideoFile("cara.avi"), 0.0);
    EXPECT_FALSE(tracker.GrabAndProcess());
    opener.PrepareFile("cara.avi", std::make_unique<FrameSequenceSource>(std::vector<cv::Mat>{FaceFrame()}, 12.5));
    EXPECT_EQ(tracker.OpenVideoFile("cara.avi"), 12.5);
    EXPECT_TRUE(tracker.GrabAndProcess());
    EXPECT_FALSE(tracker.GrabAndProcess());
    EXPECT_EQ(tracker.State(), Tracking);
}

TEST_F(HeadTrackerTest, TheFirstFaceFoundGivesTheRestPoseInEitherMode)
{
    for (const bool precise : {false, true}) {
        SCOPED_TRACE(precise ? "precise" : "normal");
        tracker.SetPreciseDetection(precise);
        const cv::Mat frame = FaceFrame();
        Start({frame, frame});
        windows.Clear();
        EXPECT_TRUE(CHeadTracker::FreshStart());
        Grab(1);
        EXPECT_EQ(tracker.State(), Tracking);
        EXPECT_FALSE(CHeadTracker::FreshStart());
        ASSERT_FALSE(tracker.TrackedFaces().empty());
        EXPECT_EQ(tracker.TrackedFaces()[0]->FaceModel(), tracker.FaceModels().at(0).get());

        // Straight from the rectangle, in single precision.
        FaceDetector detector;
        const FacePlacement place = FacePlacement::ForNewFace(detector.Detect(frame, precise).at(0), precise ? 1 : 2);
        EXPECT_FLOAT_EQ(Rest().restEyeCentreX, place.points[0] + (place.points[2] - place.points[0]) * 0.5f);
        EXPECT_FLOAT_EQ(Rest().restEyeMouth, place.points[5] - place.points[1]);
        EXPECT_FLOAT_EQ(tracker.Interpreter().ThresholdX(), 20 * 0.01f * Rest().restEyeCentreX);
        EXPECT_EQ(tracker.TrackedFaces()[0]->MouthY(), place.wholePoints[5]);
        EXPECT_GT(tracker.Measures().ReferenceColumnValue(), 0.0f) << "calibrated";
        // "Imagen" shows the plain frame.
        ASSERT_EQ(windows.Shown(CHeadTracker::kImageWindow).size(), 1u);
        EXPECT_TRUE(SamePixels(windows.Shown(CHeadTracker::kImageWindow)[0], frame));

        // A tracking step: one sample, and the features marked in white.
        const std::uint32_t samples = MotionInterpreter::SampleCount();
        Grab(1);
        EXPECT_EQ(MotionInterpreter::SampleCount(), samples + 1);
        EXPECT_LT(tracker.LastCost(), CHeadTracker::kCostLimit);
        cv::Mat white;
        cv::inRange(windows.Shown(CHeadTracker::kImageWindow).at(1), cv::Scalar::all(255), cv::Scalar::all(255), white);
        EXPECT_GT(cv::countNonZero(white), 100);
    }
}

TEST_F(HeadTrackerTest, BottomLeftFramesAreAnalysedUprightAndHandedBackAsTheyCame)
{
    const cv::Mat moved = FaceFrame({0.0, 6.0, 1.0, 0.0});
    FrameSequenceSource& source = Start({FaceFrame(), moved}, BottomLeftOrigin);
    Grab(1);
    EXPECT_NEAR(Rest().restEyeY, 193.0, 10.0) << "upright";
    EXPECT_EQ(source.LastFrame().origin, TopLeftOrigin) << "detection leaves the frame upright";
    const double eyeY = tracker.TrackedFaces()[0]->Eye1Y();

    Grab(1);
    ASSERT_EQ(tracker.State(), Tracking);
    EXPECT_NEAR(tracker.TrackedFaces()[0]->Eye1Y() - eyeY, 6.0, 2.0);
    EXPECT_EQ(source.LastFrame().origin, BottomLeftOrigin);
    EXPECT_TRUE(SamePixels(source.LastFrame().image, source.LastServed()));
    EXPECT_LT(cv::norm(windows.Shown(CHeadTracker::kImageWindow).at(1), moved, cv::NORM_L1) / moved.total(), 3.0);
}

TEST_F(HeadTrackerTest, ALossKeepsModelAndRestPoseUntilTheFaceIsFoundAgain)
{
    const cv::Mat shifted = FaceFrame({30.0, 10.0, 1.0, 0.0});
    Start({FaceFrame(), FaceFrame(), WallFrame(), shifted, shifted});
    Grab(3);
    EXPECT_EQ(tracker.State(), Detecting);
    EXPECT_EQ(tracker.FrameCounter(), 2);
    const RestPose rest = Rest();
    const CFaceModel* model = tracker.FaceModels().at(0).get();

    // Found 30 pixels to the right: a new tracked face on the old model.
    Grab(1);
    EXPECT_EQ(tracker.State(), Tracking);
    EXPECT_EQ(tracker.FaceModels().at(0).get(), model);
    EXPECT_EQ(tracker.TrackedFaces()[0]->FaceModel(), model);
    EXPECT_NEAR(EyeMidX(), rest.restEyeCentreX + 30.0, 8.0);
    EXPECT_EQ(std::make_tuple(Rest().restEyeCentreX, Rest().restFaceCentreY, Rest().restEyeMouth),
              std::make_tuple(rest.restEyeCentreX, rest.restFaceCentreY, rest.restEyeMouth));
    Grab(1);
    EXPECT_EQ(tracker.FrameCounter(), 3);
}

TEST_F(HeadTrackerTest, ResetDetectsAtOnceWithANewRestPoseAndTracksAfterOneMoreDetection)
{
    tracker.ResetTracking();
    EXPECT_TRUE(tracker.FaceModels().empty()) << "no frame yet";
    const cv::Mat shifted = FaceFrame({-40.0, 0.0, 1.0, 0.0});
    Start({FaceFrame(), FaceFrame(), shifted, shifted, shifted});
    Grab(3);
    const float oldRestX = Rest().restEyeCentreX;

    tracker.ResetTracking();
    EXPECT_EQ(tracker.State(), Detecting);
    EXPECT_FALSE(CHeadTracker::FreshStart());
    const CFaceModel* model = tracker.FaceModels().at(0).get();
    EXPECT_NEAR(Rest().restEyeCentreX, oldRestX - 40.0, 8.0);
    const float restX = Rest().restEyeCentreX;
    Grab(1);
    EXPECT_EQ(tracker.State(), Tracking);
    EXPECT_EQ(tracker.FaceModels().at(0).get(), model);
    EXPECT_EQ(Rest().restEyeCentreX, restX);

    // A new source leaves nothing to detect in.
    Start({WallFrame()});
    EXPECT_TRUE(tracker.TrackedFaces().empty());
    tracker.ResetTracking();
    EXPECT_TRUE(tracker.FaceModels().empty());
}

TEST_F(HeadTrackerTest, OfSeveralFacesFaceZeroIsFollowedAndGivesTheRestPose)
{
    Start({TwoFacesFrame(), TwoFacesFrame(), WallFrame(), TwoFacesFrame(), TwoFacesFrame()});
    Grab(1);
    ASSERT_EQ(tracker.TrackedFaces().size(), 2u);
    EXPECT_EQ(tracker.TrackedFaces()[1]->FaceModel(), tracker.FaceModels().at(1).get());
    ASSERT_GT(std::abs(EyeMidX(0) - EyeMidX(1)), 200.0);
    EXPECT_NEAR(Rest().restEyeCentreX, EyeMidX(0), 1.0);
    Grab(2);
    EXPECT_EQ(tracker.State(), Detecting);

    // Found again after starting with one face: only as many faces as models.
    Start({FaceFrame(), WallFrame(), TwoFacesFrame(), TwoFacesFrame()});
    Grab(3);
    EXPECT_EQ(tracker.State(), Tracking);
    ASSERT_EQ(tracker.FaceModels().size(), 1u);
    ASSERT_EQ(tracker.TrackedFaces().size(), 1u);
    Grab(1);
}

TEST_F(HeadTrackerTest, ViewsShowWhileSwitchedOnAndCameraOffStaysOff)
{
    tracker.OpenImageWindow();
    tracker.SetImageView(false);
    tracker.SetFrameAView(true);
    tracker.SetFrameBView(true);
    tracker.SetValuesView(true);
    EXPECT_EQ(windows.OpenWindows(), (std::vector<std::string>{"Frame", "Frame B", ValuesPanel::kWindowName}));
    Start({FaceFrame(), FaceFrame(), WallFrame(), FaceFrame(), FaceFrame()});
    Grab(5);
    EXPECT_TRUE(windows.Shown("Imagen").empty());
    const std::vector<cv::Mat> frameA = windows.Shown("Frame");
    ASSERT_EQ(frameA.size(), 4u) << "two detections, two tracking steps";
    EXPECT_EQ(frameA[3].size(), cv::Size(400, 280));
    EXPECT_GT(cv::countNonZero(frameA[3].reshape(1)), 0);
    ASSERT_EQ(windows.Shown("Frame B").size(), 2u);
    EXPECT_EQ(windows.Shown("Frame B")[1].size(), cv::Size(400, 370));

    tracker.SetFrameAView(false);
    tracker.SetFrameBView(false);
    tracker.SetValuesView(false);
    EXPECT_TRUE(windows.OpenWindows().empty());
}

TEST_F(HeadTrackerTest, WhenTheWebcamIsGoneTheHeldHeadKeepsSteeringBetweenCaptures)
{
    // Still for the smoothing, then held 120 pixels to the left.
    std::vector<cv::Mat> frames(6, FaceFrame());
    for (int step = 1; step <= 20; ++step)
        frames.push_back(FaceFrame({-6.0 * step, 0.0, 1.0, 0.0}));
    frames.insert(frames.end(), 5, FaceFrame({-120.0, 0.0, 1.0, 0.0}));
    Start(frames);
    tracker.InterpretBetweenFrames();
    EXPECT_EQ(camera.Eye(), CCamera().Eye()) << "not while detecting";
    Grab(static_cast<int>(frames.size()));
    EXPECT_FALSE(tracker.GrabAndProcess());
    ASSERT_EQ(tracker.State(), Tracking);

    // Each pass side-steps the viewer to the right (+x).
    for (int pass = 0; pass < 3; ++pass) {
        const float x = camera.Eye().x;
        tracker.InterpretBetweenFrames();
        EXPECT_GT(camera.Eye().x, x) << pass;
    }
    // A reset looks in the last picture the webcam gave.
    tracker.ResetTracking();
    EXPECT_NEAR(Rest().restEyeCentreX, 320.0f - 120.0f, 10.0f);
    EXPECT_FALSE(tracker.GrabAndProcess());
}

TEST(HeadTrackerEnd, DestroyingTheTrackerCompletesTheSampleFiles)
{
    TemporaryFolder folder;
    {
        DebugWindowRecorder windows;
        PreparedSourceOpener opener;
        CHeadTracker tracker(windows, opener);
        EXPECT_EQ(TemporaryFolder::Read("configuracion").rfind("Distancia X:20\n", 0), 0u);
    }
    EXPECT_EQ(TemporaryFolder::Read("muestrasGiroZ.m"), "giroZ =[0]\ngiroZ = [(1:columns(giroZ)); giroZ]'");
}

} // namespace
