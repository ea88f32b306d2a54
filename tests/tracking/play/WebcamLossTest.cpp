#include "app/HeadTrackerOperations.h"
#include "app/core/FrameDrawing.h"
#include "app/core/GameState.h"
#include "app/core/KeySteering.h"
#include "app/core/MainLoop.h"
#include "app/core/PassClock.h"
#include "app/core/PlayControl.h"
#include "app/core/SteeringMode.h"
#include "tests/tracking/HeadScenes.h"
#include "tests/tracking/TemporaryFolder.h"
#include "tracking/CHeadTracker.h"
#include "tracking/FrameSequenceSource.h"
#include "tracking/NullDebugWindows.h"
#include "tracking/PreparedSourceOpener.h"
#include "world/CCamera.h"
#include "world/CLevelMap.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace headscenes;

namespace {

class SteppingClock : public PassClock {
public:
    double NowMs() override { return now += 50.0; }
    double now = 0.0;
};

class CountingDrawing : public FrameDrawing {
public:
    void BeginFrame() override {}
    void DrawIntro() override {}
    void DrawScene(const CLevelMap&) override { ++scenes; }
    void DrawTextLine(const char*, int, int, int) override {}
    void EndFrame() override {}
    int scenes = 0;
};

// The webcam serves frames of a face that moves to the left of the picture and stays there,
// then stops answering, as an unplugged camera does.
class WebcamLossTest : public ::testing::Test {
protected:
    WebcamLossTest()
    {
        g_nCapturesPerSecond = 5;
        std::vector<cv::Mat> frames(6, FaceFrame());
        for (int step = 1; step <= 10; ++step)
            frames.push_back(FaceFrame({-8.0 * step, 0.0, 1.0, 0.0}));
        frames.insert(frames.end(), 4, FaceFrame({-80.0, 0.0, 1.0, 0.0}));
        auto source = std::make_unique<FrameSequenceSource>(frames);
        webcam = source.get();
        opener.PrepareCamera(std::move(source));
        tracker.SetWorld(&camera, &levelMap);
    }
    ~WebcamLossTest() override
    {
        g_steeringMode = KeysOnly;
        g_nCapturesPerSecond = 5;
    }

    TemporaryFolder folder;
    NullDebugWindows windows;
    PreparedSourceOpener opener;
    FrameSequenceSource* webcam = nullptr;
    CHeadTracker headTracker{windows, opener};
    HeadTrackerOperations tracker{headTracker};
    CLevelMap levelMap;
    CCamera camera;
    GameState state;
    PlayControl play{state, tracker, [] { return false; }};
    KeySteering keys{state, play, camera, levelMap};
    SteppingClock clock;
    CountingDrawing drawing;
    MainLoop loop{state, levelMap, camera, tracker, drawing, clock};
};

TEST_F(WebcamLossTest, PlayGoesOnWithTheHeldHeadAndTheKeysAfterTheWebcamIsGone)
{
    keys.OnKeyDown(KeyReturn);
    ASSERT_TRUE(state.m_bStarted);
    ASSERT_EQ(g_steeringMode, HeadSteering);

    // 5 captures a second at 50 ms a pass: a capture every fifth pass, so the 20 frames are
    // used up within 100 passes.
    for (int pass = 0; pass < 100; ++pass)
        loop.RunPass();
    EXPECT_EQ(webcam->Served(), 20u);
    EXPECT_EQ(headTracker.State(), Tracking);
    EXPECT_FALSE(headTracker.GrabAndProcess()) << "the camera is gone";

    // The documented fallback: with no new frame the last head measures go on steering (the
    // face was held left, so the viewer keeps side-stepping right), and every pass draws.
    const float x = camera.Eye().x;
    for (int pass = 0; pass < 100; ++pass)
        loop.RunPass();
    EXPECT_EQ(drawing.scenes, 200);
    EXPECT_GT(camera.Eye().x, x);
    EXPECT_EQ(headTracker.State(), Tracking);
    EXPECT_EQ(g_steeringMode, HeadSteering);

    // The keys still steer.
    const float z = camera.Eye().z;
    keys.OnKeyDown(KeyUp);
    EXPECT_NE(camera.Eye().z, z);

    // "Empezar" restarts the walk: the tracker looks again in the last picture it was given.
    play.StartOrRequestReset();
    loop.RunPass();
    EXPECT_EQ(camera.Eye(), CCamera().Eye());
    EXPECT_EQ(headTracker.State(), Detecting);
    EXPECT_EQ(headTracker.FaceModels().size(), 1u);
    for (int pass = 0; pass < 20; ++pass)
        loop.RunPass();
    EXPECT_EQ(camera.Eye(), CCamera().Eye()) << "nothing steers once the tracking is dropped";
    EXPECT_TRUE(std::isfinite(camera.Eye().x));
}

}  // namespace
