// The shell's logic without Qt: the main loop's passes and the start of play.

#include "app/core/FrameDrawing.h"
#include "app/core/GameState.h"
#include "app/core/KeysOnlyToggle.h"
#include "app/core/MainLoop.h"
#include "app/core/PassClock.h"
#include "app/core/PassPacer.h"
#include "app/core/PlayControl.h"
#include "app/core/ProcessSettings.h"
#include "app/core/TrackerOperations.h"
#include "world/CCamera.h"
#include "world/CLevelMap.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

namespace {

using CallLog = std::vector<std::string>;

// Clock, drawing and tracker in one fake; their calls are logged in order.
class ShellRecorder : public PassClock, public FrameDrawing, public TrackerOperations {
public:
    CallLog log;
    std::vector<std::string> textLines;  // "<line> <width>x<height> <text>"
    double now = 0.0;
    int clockReads = 0;
    bool cameraPresent = false;
    std::function<void()> onReset;  // runs inside ResetTracking

    double NowMs() override
    {
        ++clockReads;
        return now;
    }
    void BeginFrame() override { log.push_back("BeginFrame"); }
    void DrawIntro() override { log.push_back("DrawIntro"); }
    void DrawScene(const CLevelMap&) override { log.push_back("DrawScene"); }
    void DrawTextLine(const char* text, int line, int width, int height) override
    {
        log.push_back("DrawTextLine");
        textLines.push_back(std::to_string(line) + " " + std::to_string(width) + "x" + std::to_string(height) + " " +
                            text);
    }
    void EndFrame() override { log.push_back("EndFrame"); }
    bool StartWebcam() override { return Logged("StartWebcam", cameraPresent); }
    double OpenVideoFile(const std::string&) override { return 0.0; }
    void OpenImageWindow() override { log.push_back("OpenImageWindow"); }
    bool GrabAndProcess() override { return Logged("GrabAndProcess", true); }
    void InterpretBetweenFrames() override { log.push_back("InterpretBetweenFrames"); }
    void ResetTracking() override
    {
        log.push_back("ResetTracking");
        if (onReset)
            onReset();
    }

private:
    bool Logged(const char* call, bool result)
    {
        log.push_back(call);
        return result;
    }
};

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override { g_steeringMode = HeadSteering; }
    void TearDown() override
    {
        g_steeringMode = KeysOnly;
        g_nCapturesPerSecond = 5;
    }

    // The calls of one pass at time t, during play unless `started` is false.
    CallLog PassAt(double t, bool started = true)
    {
        fake.now = t;
        fake.log.clear();
        state.m_bStarted = started;
        loop.RunPass();
        return fake.log;
    }

    ShellRecorder fake;
    GameState state;
    CLevelMap levelMap;
    CCamera camera;
    MainLoop loop{state, levelMap, camera, fake, fake, fake};
};

TEST_F(ShellTest, ACaptureIsDueOnlyOnceItsPeriodIsStrictlyExceededAndOnlyHeadSteeringCallsTheTracker)
{
    // Mode, captures per second, video file (null: webcam), its frame rate, ms since the last capture, due.
    const std::tuple<SteeringMode, int, const char*, double, double, bool> cases[] = {
        {HeadSteering, 5, nullptr, 0.0, 200.0, false},
        {HeadSteering, 5, nullptr, 0.0, 200.5, true},
        // The period is a whole number of milliseconds: 333, short of 1000 / 3.0.
        {HeadSteering, 3, nullptr, 0.0, 333.0, false},
        {HeadSteering, 3, nullptr, 0.0, 333.25, true},
        // A file faster than the capture rate is paced by its frame period, a slower one not.
        {HeadSteering, 5, "paseo.avi", 25.0, 40.0, false},
        {HeadSteering, 5, "paseo.avi", 25.0, 40.5, true},
        {HeadSteering, 5, "lento.avi", 2.0, 200.0, false},
        {HeadSteering, 5, "lento.avi", 2.0, 200.5, true},
        // A file that could not be opened, and the rate of a file "WebCam" replaced.
        {HeadSteering, 5, "roto.avi", 0.0, 1.0, false},
        {HeadSteering, 5, "roto.avi", 0.0, 200.5, true},
        {HeadSteering, 5, nullptr, 25.0, 41.0, false},
        // The capture clock runs without calling the tracker.
        {KeysOnly, 5, nullptr, 0.0, 200.5, true},
        {NoCamera, 5, nullptr, 0.0, 200.0, false},
    };
    for (const auto& [mode, perSecond, videoFile, videoFrameRate, elapsed, captures] : cases) {
        SCOPED_TRACE(std::to_string(mode) + " " + std::to_string(perSecond) + " " + std::to_string(elapsed));
        g_steeringMode = mode;
        g_nCapturesPerSecond = perSecond;
        state.m_pszVideoFile = videoFile ? std::optional<std::string>(videoFile) : std::nullopt;
        state.m_dVideoFrameRate = videoFrameRate;
        state.m_dLastCaptureTime = 1000.0;
        const char* trackerCall = captures ? "GrabAndProcess" : "InterpretBetweenFrames";
        EXPECT_EQ(PassAt(1000.0 + elapsed).front(), mode == HeadSteering ? trackerCall : "BeginFrame");
        EXPECT_EQ(state.m_dLastCaptureTime, captures ? 1000.0 + elapsed : 1000.0);
    }
}

TEST_F(ShellTest, TheFrameRateIsMeasuredOnceMoreThanASecondHasGone)
{
    // (The first figure, over the time since the program started: the drawing case's statistics.)
    PassAt(1500.0);
    for (double t = 1600.0; t <= 2500.0; t += 100.0)
        PassAt(t);
    // Exactly one second is not beyond it.
    EXPECT_EQ(std::pair(state.m_nFrameCount, state.m_dLastRateTime), std::pair(10, 1500.0));
    PassAt(2600.0);
    EXPECT_FLOAT_EQ(state.m_fFramesPerSecond, 10.0f);
    EXPECT_EQ(std::pair(state.m_nFrameCount, state.m_dLastRateTime), std::pair(0, 2600.0));
}

TEST_F(ShellTest, PacedPassesComeOncePerRefreshWhileCapturesKeepTheirOwnPeriod)
{
    // The timer waits whole milliseconds, rounded up, as Qt's precise timer does.
    const auto runPaced = [&](PassPacer& pacer, int passes) {
        std::vector<double> captures;
        for (int pass = 0; pass < passes; ++pass) {
            fake.now += std::ceil(pacer.MsUntilNextPass());
            pacer.PassStarted();
            if (PassAt(fake.now).front() == "GrabAndProcess")
                captures.push_back(fake.now);
        }
        return captures;
    };
    PassPacer pacer(fake, 60.0);
    const std::vector<double> captures = runPaced(pacer, 600);
    // 600 passes take 10 s: the 601st is due at 10000 ms, the rounding of each wait notwithstanding.
    EXPECT_NEAR(fake.now + pacer.MsUntilNextPass(), 10000.0, 1.0);
    EXPECT_NEAR(state.m_fFramesPerSecond, 60.0f, 1.0f);
    // A capture once more than 200 ms have gone, at the first pass after: within one period.
    ASSERT_GT(captures.size(), 40u);
    for (std::size_t i = 1; i < captures.size(); ++i)
        EXPECT_TRUE(captures[i] - captures[i - 1] > 200.0 && captures[i] - captures[i - 1] <= 200.0 + 17.0)
            << captures[i - 1] << " " << captures[i];

    // A pass that came late (the machine was busy) is followed a whole period later, not at once.
    fake.now += 100.0;
    pacer.PassStarted();
    EXPECT_NEAR(pacer.MsUntilNextPass(), 1000.0 / 60.0, 1e-9);
    // A display that does not tell its rate is taken for 60 Hz; a faster one gets more passes.
    EXPECT_NEAR(PassPacer(fake, 0.0).PeriodMs(), 1000.0 / 60.0, 1e-9);
    EXPECT_NEAR(PassPacer(fake, 144.0).PeriodMs(), 1000.0 / 144.0, 1e-9);

    // Unpaced, as before: every pass is due at once, so only the machine sets the pace.
    PassPacer unpaced(fake, 60.0);
    unpaced.SetPaced(false);
    const double unpacedStart = fake.now;
    runPaced(unpaced, 600);
    EXPECT_EQ(fake.now, unpacedStart);
}

// Before play a pass honours a reset and only draws the intro, reading no clock; in play it tracks
// and draws the scene and statistics. A redraw for the window (uncovered, resized) is only the frame.
TEST_F(ShellTest, BeforePlayAPassDrawsTheIntroThenItTracksAndDrawsTheSceneAndARedrawOnlyTheFrame)
{
    state.m_bResetRequested = true;
    EXPECT_EQ(PassAt(500.0, false), (CallLog{"ResetTracking", "BeginFrame", "DrawIntro", "EndFrame"}));
    EXPECT_EQ(PassAt(1500.0, false), (CallLog{"BeginFrame", "DrawIntro", "EndFrame"}));
    EXPECT_FALSE(state.m_bResetRequested);
    EXPECT_EQ(fake.clockReads + state.m_nFrameCount + state.m_dLastCaptureTime + state.m_dLastRateTime, 0.0);
    EXPECT_EQ(PassAt(2000.0), (CallLog{"GrabAndProcess", "BeginFrame", "DrawScene", "EndFrame"}));
    state.m_bShowStats = true;
    const CallLog statistics = {"BeginFrame", "DrawScene", "DrawTextLine", "DrawTextLine", "DrawTextLine", "EndFrame"};
    EXPECT_EQ(PassAt(2100.0),
              (CallLog{"InterpretBetweenFrames", "BeginFrame", "DrawScene", "DrawTextLine", "DrawTextLine",
                       "DrawTextLine", "EndFrame"}));
    EXPECT_EQ(fake.textLines,
              (std::vector<std::string>{"0 640x480 Frames por segundo D3D: 0.500000\n",
                                        "1 640x480 Posicion X: 0.000000\t Posicion\tZ:0.000000\n",
                                        "2 640x480 Casilla Actual:19\n"}));
    const GameState before = state;
    fake.log.clear();
    fake.now = 2200.0;
    loop.DrawFrame();
    EXPECT_EQ(fake.log, statistics);
    EXPECT_EQ(std::tuple(state.m_nFrameCount, state.m_dLastCaptureTime, state.m_dLastRateTime),
              std::tuple(before.m_nFrameCount, before.m_dLastCaptureTime, before.m_dLastRateTime));
    state.m_bStarted = false;
    fake.log.clear();
    loop.DrawFrame();
    EXPECT_EQ(fake.log, (CallLog{"BeginFrame", "DrawIntro", "EndFrame"}));
}

TEST_F(ShellTest, APendingResetRestartsTheWalkBeforeTheTrackerAndTheFrame)
{
    camera.TurnLeft(0.5f);
    for (int step = 0; step < 30; ++step)
        camera.WalkForward(levelMap, 1.0f);
    ASSERT_NE(levelMap.GetCurrentCell(), CLevelMap::kStartCell) << "the walk must leave the start cell";
    PassAt(3000.0);
    const GameState before = state;
    const CCamera startPose;
    std::tuple<int, glm::vec3, glm::vec3, glm::vec3> atReset;
    fake.onReset = [&] { atReset = {levelMap.GetCurrentCell(), camera.Eye(), camera.LookAt(), camera.Up()}; };
    state.m_bResetRequested = true;
    EXPECT_EQ(PassAt(3010.0),
              (CallLog{"ResetTracking", "InterpretBetweenFrames", "BeginFrame", "DrawScene", "EndFrame"}));
    EXPECT_EQ(atReset, std::tuple(CLevelMap::kStartCell, startPose.Eye(), startPose.LookAt(), startPose.Up()))
        << "the walk restarted before the tracker";
    // The clocks and the shown rate go on.
    EXPECT_EQ(
        std::tuple(state.m_bResetRequested, state.m_fFramesPerSecond, state.m_dLastCaptureTime, state.m_nFrameCount),
        std::tuple(false, before.m_fFramesPerSecond, before.m_dLastCaptureTime, 1));
}

TEST_F(ShellTest, StartingPlayOpensTheSourceAndTheSoloTeclasMarkDecidesTheMode)
{
    // Webcam present, video file, "Solo teclas" checked; then the tracker's calls and the mode.
    const std::tuple<bool, const char*, bool, CallLog, SteeringMode> cases[] = {
        // Without a source the mark is not read and "Imagen" does not open.
        {false, nullptr, true, {"StartWebcam"}, NoCamera},
        {true, nullptr, false, {"StartWebcam", "OpenImageWindow"}, HeadSteering},
        {true, nullptr, true, {"StartWebcam", "OpenImageWindow"}, KeysOnly},
        // A chosen file is the source: the webcam is not opened.
        {false, "paseo.avi", false, {"OpenImageWindow"}, HeadSteering},
        {false, "paseo.avi", true, {"OpenImageWindow"}, KeysOnly},
    };
    for (const auto& [cameraPresent, videoFile, keysOnlyChecked, calls, mode] : cases) {
        ShellRecorder tracker;
        tracker.cameraPresent = cameraPresent;
        GameState started;
        if (videoFile)
            started.m_pszVideoFile = videoFile;
        const bool checked = keysOnlyChecked;
        int told = 0;
        PlayControl(
            started, tracker, [checked] { return checked; }, [&] { told += started.m_bStarted; })
            .StartPlay();
        EXPECT_EQ(told, 1) << "the passes begin once play has started";
        EXPECT_TRUE(started.m_bStarted);
        EXPECT_EQ(tracker.log, calls);
        EXPECT_EQ(g_steeringMode, mode) << (videoFile ? videoFile : "webcam") << " " << cameraPresent;
    }
}

TEST_F(ShellTest, SoloTeclasFollowsItsTableOfCheckMarkAndMode)
{
    using Outcome = KeysOnlyOutcome;
    const std::tuple<SteeringMode, bool, Outcome, SteeringMode> table[] = {
        {NoCamera, false, Outcome::Checked, KeysOnly},      {HeadSteering, false, Outcome::Checked, KeysOnly},
        {KeysOnly, false, Outcome::Checked, KeysOnly},      {HeadSteering, true, Outcome::Unchecked, HeadSteering},
        {KeysOnly, true, Outcome::Unchecked, HeadSteering}, {NoCamera, true, Outcome::Refused, NoCamera},
    };
    for (const auto& [mode, checked, outcome, after] : table) {
        g_steeringMode = mode;
        EXPECT_EQ(ToggleKeysOnly(checked), outcome) << mode << " " << checked;
        EXPECT_EQ(g_steeringMode, after) << mode << " " << checked;
    }
}

}  // namespace
