#include "app/core/GameState.h"
#include "app/core/MainLoop.h"
#include "app/core/SteeringMode.h"
#include "tests/app/ShellFakes.h"
#include "world/CCamera.h"
#include "world/CLevelMap.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class MainLoopTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_steeringMode = HeadSteering;
        g_nCapturesPerSecond = 5;
        state.m_bStarted = true;
    }
    void TearDown() override
    {
        g_steeringMode = KeysOnly;
        g_nCapturesPerSecond = 5;
    }

    // Runs one pass at time t; what the tracker was asked to do in it.
    std::string TrackerStepAt(double t)
    {
        clock.now = t;
        log.clear();
        loop.RunPass();
        for (const std::string& call : log)
            if (call == "GrabAndProcess" || call == "InterpretBetweenFrames")
                return call;
        return "none";
    }

    CallLog log;
    GameState state;
    CLevelMap levelMap;
    CCamera camera;
    RecordingTracker tracker{log};
    RecordingDrawing drawing{log};
    FakeClock clock;
    MainLoop loop{state, levelMap, camera, tracker, drawing, clock};
};

TEST_F(MainLoopTest, BeforePlayOnlyTheIntroIsDrawn)
{
    state.m_bStarted = false;
    for (int pass = 0; pass < 3; ++pass) {
        clock.now += 500.0;
        loop.RunPass();
    }
    const CallLog intro = {"BeginFrame", "DrawIntro", "EndFrame"};
    CallLog expected;
    for (int pass = 0; pass < 3; ++pass)
        expected.insert(expected.end(), intro.begin(), intro.end());
    EXPECT_EQ(log, expected);
    EXPECT_EQ(clock.reads, 0);
    EXPECT_EQ(state.m_nFrameCount, 0);
    EXPECT_EQ(state.m_dLastCaptureTime, 0.0);
    EXPECT_EQ(state.m_dLastRateTime, 0.0);
}

TEST_F(MainLoopTest, FiveCapturesPerSecondCaptureOnlyOnceTheElapsedTimeExceeds200Ms)
{
    state.m_dLastCaptureTime = 1000.0;
    EXPECT_EQ(TrackerStepAt(1100.0), "InterpretBetweenFrames");
    EXPECT_EQ(TrackerStepAt(1200.0), "InterpretBetweenFrames");  // equal is not yet due
    EXPECT_EQ(TrackerStepAt(1200.5), "GrabAndProcess");
    EXPECT_EQ(state.m_dLastCaptureTime, 1200.5);
    EXPECT_EQ(TrackerStepAt(1300.0), "InterpretBetweenFrames");
    EXPECT_EQ(TrackerStepAt(1401.0), "GrabAndProcess");
}

TEST_F(MainLoopTest, SteadyPassesCaptureOnEveryPassThatFirstExceedsThePeriod)
{
    // Passes every 30 ms: 210 ms is the first elapsed time beyond 200.
    state.m_dLastCaptureTime = 1000.0;
    std::vector<double> captures;
    for (double t = 1030.0; t <= 1900.0; t += 30.0)
        if (TrackerStepAt(t) == "GrabAndProcess")
            captures.push_back(t);
    EXPECT_EQ(captures, (std::vector<double>{1210.0, 1420.0, 1630.0, 1840.0}));
}

TEST_F(MainLoopTest, ThreeCapturesPerSecondUseTheTruncatedPeriodOf333Ms)
{
    g_nCapturesPerSecond = 3;
    state.m_dLastCaptureTime = 1000.0;
    EXPECT_EQ(TrackerStepAt(1333.0), "InterpretBetweenFrames");
    // Beyond 333 but short of 1000 / 3.0.
    EXPECT_EQ(TrackerStepAt(1333.25), "GrabAndProcess");
}

TEST_F(MainLoopTest, FiftyCapturesPerSecondCaptureEvery20Ms)
{
    g_nCapturesPerSecond = 50;
    state.m_dLastCaptureTime = 1000.0;
    EXPECT_EQ(TrackerStepAt(1020.0), "InterpretBetweenFrames");
    EXPECT_EQ(TrackerStepAt(1020.5), "GrabAndProcess");
}

TEST_F(MainLoopTest, AVideoFileFasterThanTheCaptureRateIsPacedByItsFramePeriod)
{
    state.m_pszVideoFile = "paseo.avi";
    state.m_dVideoFrameRate = 25.0;
    state.m_dLastCaptureTime = 1000.0;
    EXPECT_EQ(TrackerStepAt(1030.0), "InterpretBetweenFrames");
    EXPECT_EQ(TrackerStepAt(1040.0), "InterpretBetweenFrames");
    EXPECT_EQ(TrackerStepAt(1040.5), "GrabAndProcess");
    EXPECT_EQ(TrackerStepAt(1081.0), "GrabAndProcess");
}

TEST_F(MainLoopTest, AVideoFileSlowerThanTheCaptureRateIsPacedByTheCaptureRate)
{
    state.m_pszVideoFile = "lento.avi";
    state.m_dVideoFrameRate = 2.0;
    state.m_dLastCaptureTime = 1000.0;
    EXPECT_EQ(TrackerStepAt(1200.0), "InterpretBetweenFrames");
    EXPECT_EQ(TrackerStepAt(1200.5), "GrabAndProcess");
}

TEST_F(MainLoopTest, AVideoFileThatCouldNotBeOpenedIsPacedByTheCaptureRate)
{
    state.m_pszVideoFile = "roto.avi";
    state.m_dVideoFrameRate = 0.0;
    state.m_dLastCaptureTime = 1000.0;
    EXPECT_EQ(TrackerStepAt(1001.0), "InterpretBetweenFrames");
    EXPECT_EQ(TrackerStepAt(1200.5), "GrabAndProcess");
}

TEST_F(MainLoopTest, TheFrameRateOfAForgottenFileDoesNotPaceTheWebcam)
{
    state.m_dVideoFrameRate = 25.0;  // "WebCam" cleared the file, the rate stays
    state.m_dLastCaptureTime = 1000.0;
    EXPECT_EQ(TrackerStepAt(1041.0), "InterpretBetweenFrames");
}

TEST_F(MainLoopTest, KeysOnlyAndNoCameraNeverCallTheTrackerButTheCaptureClockAdvances)
{
    for (SteeringMode mode : {KeysOnly, NoCamera}) {
        g_steeringMode = mode;
        state.m_dLastCaptureTime = 0.0;
        for (double t = 1000.0; t < 3000.0; t += 25.0)
            EXPECT_EQ(TrackerStepAt(t), "none") << "mode " << mode << " at " << t;
        EXPECT_GT(state.m_dLastCaptureTime, 2700.0);
    }
}

TEST_F(MainLoopTest, TheFrameRateIsMeasuredOnceASecondWithTheClosingFrameCounted)
{
    // The first figure covers the whole time since the program started.
    clock.now = 1500.0;
    loop.RunPass();
    EXPECT_FLOAT_EQ(state.m_fFramesPerSecond, 1000.0f / 1500.0f);
    EXPECT_EQ(state.m_dLastRateTime, 1500.0);
    EXPECT_EQ(state.m_nFrameCount, 0);

    for (double t = 1600.0; t <= 2500.0; t += 100.0) {
        clock.now = t;
        loop.RunPass();
    }
    // Exactly one second is not yet beyond it.
    EXPECT_EQ(state.m_nFrameCount, 10);
    EXPECT_EQ(state.m_dLastRateTime, 1500.0);

    clock.now = 2600.0;
    loop.RunPass();
    EXPECT_FLOAT_EQ(state.m_fFramesPerSecond, 10.0f);
    EXPECT_EQ(state.m_dLastRateTime, 2600.0);
    EXPECT_EQ(state.m_nFrameCount, 0);
}

TEST_F(MainLoopTest, APassTracksThenDrawsTheSceneWithoutOverlayWhenStatisticsAreOff)
{
    clock.now = 5000.0;
    loop.RunPass();
    EXPECT_EQ(log, (CallLog{"GrabAndProcess", "BeginFrame", "DrawScene", "EndFrame"}));
    EXPECT_TRUE(drawing.lines.empty());
}

TEST_F(MainLoopTest, TheStatisticsOverlayWritesItsThreeLines)
{
    state.m_bShowStats = true;
    clock.now = 2000.0;  // one frame in two seconds
    loop.RunPass();
    EXPECT_EQ(log, (CallLog{"GrabAndProcess", "BeginFrame", "DrawScene", "DrawTextLine", "DrawTextLine",
                            "DrawTextLine", "EndFrame"}));
    ASSERT_EQ(drawing.lines.size(), 3u);
    EXPECT_EQ(drawing.lines[0].text, "Frames por segundo D3D: 0.500000\n");
    EXPECT_EQ(drawing.lines[1].text, "Posicion X: 0.000000\t Posicion\tZ:0.000000\n");
    EXPECT_EQ(drawing.lines[2].text, "Casilla Actual:19\n");
    for (int line = 0; line < 3; ++line) {
        EXPECT_EQ(drawing.lines[line].line, line);
        EXPECT_EQ(drawing.lines[line].width, 640);
        EXPECT_EQ(drawing.lines[line].height, 480);
    }
}

TEST_F(MainLoopTest, APendingResetRestartsMapCameraAndTrackerBeforeTheFrame)
{
    g_steeringMode = KeysOnly;
    camera.TurnLeft(0.5f);
    camera.Rise(0.1f);
    for (int step = 0; step < 30; ++step)
        camera.WalkForward(levelMap, 1.0f);
    ASSERT_NE(levelMap.GetCurrentCell(), CLevelMap::kStartCell) << "the walk must leave the start cell";
    const CCamera startPose;

    clock.now = 3000.0;
    loop.RunPass();
    state.m_bResetRequested = true;
    const float fps = state.m_fFramesPerSecond;
    const double lastCapture = state.m_dLastCaptureTime;
    bool worldWasResetFirst = false;
    tracker.onReset = [&] {
        worldWasResetFirst = levelMap.GetCurrentCell() == CLevelMap::kStartCell && camera.Eye() == startPose.Eye() &&
                             camera.LookAt() == startPose.LookAt() && camera.Up() == startPose.Up();
    };
    clock.now = 3010.0;
    log.clear();
    loop.RunPass();

    EXPECT_EQ(log, (CallLog{"ResetTracking", "BeginFrame", "DrawScene", "EndFrame"}));
    EXPECT_TRUE(worldWasResetFirst);
    EXPECT_FALSE(state.m_bResetRequested);
    // The clocks, the count and the shown rate go on.
    EXPECT_EQ(state.m_fFramesPerSecond, fps);
    EXPECT_EQ(state.m_dLastCaptureTime, lastCapture);
    EXPECT_EQ(state.m_nFrameCount, 1);
}

TEST_F(MainLoopTest, AResetRequestIsHonouredBeforePlayToo)
{
    state.m_bStarted = false;
    state.m_bResetRequested = true;
    loop.RunPass();
    EXPECT_EQ(log, (CallLog{"ResetTracking", "BeginFrame", "DrawIntro", "EndFrame"}));
    EXPECT_FALSE(state.m_bResetRequested);
}

}  // namespace
