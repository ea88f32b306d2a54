#include "app/core/GameState.h"
#include "app/core/PlayControl.h"
#include "app/core/SteeringMode.h"
#include "tests/app/ShellFakes.h"

#include <gtest/gtest.h>

namespace {

class PlayControlTest : public ::testing::Test {
protected:
    void TearDown() override { g_steeringMode = KeysOnly; }

    CallLog log;
    GameState state;
    RecordingTracker tracker{log};
    bool keysOnlyChecked = false;
    int menuReads = 0;
    PlayControl play{state, tracker, [this] {
                         ++menuReads;
                         return keysOnlyChecked;
                     }};
};

TEST_F(PlayControlTest, TheProgramStartsInKeysOnlyMode)
{
    EXPECT_EQ(g_steeringMode, KeysOnly);
    EXPECT_EQ(g_nCapturesPerSecond, 5);
}

TEST_F(PlayControlTest, WithoutCameraPlayStartsWithNoCameraAndNoImageWindow)
{
    play.StartPlay();
    EXPECT_TRUE(state.m_bStarted);
    EXPECT_EQ(g_steeringMode, NoCamera);
    EXPECT_EQ(log, CallLog{"StartWebcam"});
    EXPECT_EQ(menuReads, 0);
}

TEST_F(PlayControlTest, WithACameraTheMenuDecidesTheModeAndTheImageWindowOpens)
{
    tracker.cameraPresent = true;
    play.StartPlay();
    EXPECT_EQ(g_steeringMode, HeadSteering);
    EXPECT_TRUE(state.m_bStarted);
    EXPECT_EQ(log, (CallLog{"StartWebcam", "OpenImageWindow"}));

    GameState again;
    keysOnlyChecked = true;
    log.clear();
    PlayControl(again, tracker, [this] { return keysOnlyChecked; }).StartPlay();
    EXPECT_EQ(g_steeringMode, KeysOnly);
    EXPECT_EQ(log, (CallLog{"StartWebcam", "OpenImageWindow"}));
}

TEST_F(PlayControlTest, AChosenVideoFileIsTheSourceWithoutOpeningTheWebcam)
{
    state.m_pszVideoFile = "paseo.avi";
    play.StartPlay();
    EXPECT_EQ(g_steeringMode, HeadSteering);
    EXPECT_TRUE(state.m_bStarted);
    EXPECT_EQ(log, CallLog{"OpenImageWindow"});
}

TEST_F(PlayControlTest, EmpezarStartsPlayThenOnlyRequestsResets)
{
    play.StartOrRequestReset();
    EXPECT_TRUE(state.m_bStarted);
    EXPECT_FALSE(state.m_bResetRequested);
    EXPECT_EQ(log, CallLog{"StartWebcam"});

    play.StartOrRequestReset();
    EXPECT_TRUE(state.m_bResetRequested);
    EXPECT_EQ(log, CallLog{"StartWebcam"});
    EXPECT_EQ(g_steeringMode, NoCamera);
}

}  // namespace
