#include "tracking/CHeadTracker.h"

#include "tests/tracking/HeadScenes.h"
#include "tests/tracking/TemporaryFolder.h"
#include "tools/headvideo/HeadVideoWriter.h"
#include "tracking/NullDebugWindows.h"
#include "tracking/capture/CaptureSource.h"
#include "world/CCamera.h"
#include "world/CLevelMap.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace headscenes;

namespace {

struct TruthLine {
    int frame;
    std::string segment;
    double centreX;
    double centreY;
};

std::vector<TruthLine> ReadTruth(const std::string& file)
{
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    std::vector<TruthLine> truth;
    while (std::getline(in, line)) {
        std::replace(line.begin(), line.end(), ',', ' ');
        std::istringstream fields(line);
        TruthLine entry;
        fields >> entry.frame >> entry.segment >> entry.centreX >> entry.centreY;
        truth.push_back(entry);
    }
    return truth;
}

// The tracker over real AVI files, steering a camera through the level map.
class VideoTrackingTest : public ::testing::Test {
protected:
    VideoTrackingTest() { tracker.SetWorld(&camera, &levelMap); }

    TemporaryFolder folder;
    NullDebugWindows windows;
    CaptureOpener opener;
    CLevelMap levelMap;
    CCamera camera;
    CHeadTracker tracker{windows, opener};
};

TEST_F(VideoTrackingTest, FindsTheFaceInTheFirstFrameAndFollowsIt)
{
    std::string error;
    const std::optional<MotionScript> script = MotionScript::Parse("still:5,right:40", error);
    ASSERT_TRUE(script) << error;
    ASSERT_TRUE(Writer().Write(*script, "cara.avi", "cara.csv", error)) << error;
    const std::vector<TruthLine> truth = ReadTruth("cara.csv");
    ASSERT_EQ(truth.size(), static_cast<std::size_t>(script->Frames()));

    EXPECT_DOUBLE_EQ(tracker.OpenVideoFile("cara.avi"), 25.0);
    ASSERT_TRUE(tracker.GrabAndProcess());
    ASSERT_EQ(tracker.State(), Tracking);
    const CTrackedFace* face = tracker.TrackedFaces()[0].get();
    // The eyes lie above the face centre; that offset stays while the face moves.
    const double offsetX = (face->Eye1X() + face->Eye2X()) * 0.5 - truth[0].centreX;
    const double offsetY = (face->Eye1Y() + face->Eye2Y()) * 0.5 - truth[0].centreY;
    EXPECT_NEAR(offsetX, 0.0, 6.0);

    for (std::size_t i = 1; i < truth.size(); ++i) {
        ASSERT_TRUE(tracker.GrabAndProcess()) << "frame " << i;
        ASSERT_EQ(tracker.State(), Tracking) << "frame " << i;
        EXPECT_NEAR((face->Eye1X() + face->Eye2X()) * 0.5 - truth[i].centreX, offsetX, 3.0) << "frame " << i;
        EXPECT_NEAR((face->Eye1Y() + face->Eye2Y()) * 0.5 - truth[i].centreY, offsetY, 3.0) << "frame " << i;
    }
    EXPECT_FALSE(tracker.GrabAndProcess());
    EXPECT_EQ(tracker.FrameCounter(), static_cast<std::int32_t>(truth.size()) - 1);
}

TEST_F(VideoTrackingTest, AVideoWithoutAFaceNeverLeavesDetectingNorMovesTheCamera)
{
    std::string error;
    const std::optional<MotionScript> script = MotionScript::Parse("still:10,left:60", error);
    ASSERT_TRUE(script) << error;
    const HeadVideoWriter wall(WallFrame(), cv::Rect(270, 190, 100, 100), HeadVideoSettings());
    ASSERT_TRUE(wall.Write(*script, "pared.avi", "pared.csv", error)) << error;

    const CCamera start;
    const std::uint32_t samples = MotionInterpreter::SampleCount();
    ASSERT_GT(tracker.OpenVideoFile("pared.avi"), 0.0);
    int frames = 0;
    while (tracker.GrabAndProcess()) {
        ++frames;
        EXPECT_EQ(tracker.State(), Detecting);
        tracker.InterpretBetweenFrames();
    }
    EXPECT_EQ(frames, script->Frames());
    EXPECT_TRUE(CHeadTracker::FreshStart());
    EXPECT_EQ(MotionInterpreter::SampleCount(), samples);
    EXPECT_EQ(camera.Eye(), start.Eye());
    EXPECT_EQ(camera.LookAt(), start.LookAt());
}

TEST_F(VideoTrackingTest, AtTheEndOfTheVideoTheHeldHeadKeepsSteeringBetweenCaptures)
{
    // Still, then 120 pixels to the left and held there until the file ends.
    std::vector<cv::Mat> frames(8, FaceFrame());
    for (int step = 1; step <= 20; ++step)
        frames.push_back(FaceFrame({-6.0 * step, 0.0, 1.0, 0.0}));
    frames.insert(frames.end(), 4, FaceFrame({-120.0, 0.0, 1.0, 0.0}));
    WriteVideo("cara.avi", frames);

    ASSERT_GT(tracker.OpenVideoFile("cara.avi"), 0.0);
    int grabbed = 0;
    while (tracker.GrabAndProcess())
        ++grabbed;
    EXPECT_EQ(grabbed, static_cast<int>(frames.size()));
    EXPECT_FALSE(tracker.GrabAndProcess());
    ASSERT_EQ(tracker.State(), Tracking);

    // The face is held left in the picture: each pass side-steps the viewer to the right (+x).
    const std::int32_t steps = tracker.FrameCounter();
    float x = camera.Eye().x;
    for (int pass = 0; pass < 5; ++pass) {
        tracker.InterpretBetweenFrames();
        EXPECT_GT(camera.Eye().x, x) << "pass " << pass;
        x = camera.Eye().x;
    }
    EXPECT_EQ(tracker.FrameCounter(), steps);
    EXPECT_EQ(tracker.State(), Tracking);

    // A reset after the end detects in the last picture the file showed.
    tracker.ResetTracking();
    EXPECT_EQ(tracker.State(), Detecting);
    ASSERT_EQ(tracker.FaceModels().size(), 1u);
    EXPECT_NEAR(tracker.Interpreter().Rest().restEyeCentreX, 320.0f - 120.0f, 10.0f);
    EXPECT_FALSE(tracker.GrabAndProcess());
}

} // namespace
