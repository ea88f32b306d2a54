#include "app/core/GameState.h"
#include "app/core/KeySteering.h"
#include "app/core/PlayControl.h"
#include "app/core/SteeringMode.h"
#include "tests/app/ShellFakes.h"
#include "world/CCamera.h"
#include "world/CLevelMap.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

class KeySteeringTest : public ::testing::Test {
protected:
    void TearDown() override { g_steeringMode = KeysOnly; }

    void ExpectSamePose(const CCamera& expected)
    {
        EXPECT_EQ(camera.Eye(), expected.Eye());
        EXPECT_EQ(camera.LookAt(), expected.LookAt());
        EXPECT_EQ(camera.Up(), expected.Up());
        EXPECT_EQ(camera.Side(), expected.Side());
    }

    CallLog log;
    GameState state;
    CLevelMap levelMap;
    CCamera camera;
    RecordingTracker tracker{log};
    PlayControl play{state, tracker, [] { return false; }};
    KeySteering keys{state, play, camera, levelMap};
};

TEST_F(KeySteeringTest, BeforePlayOnlyEnterDoesAnything)
{
    const CCamera startPose;
    const int notEnter[] = {KeyUp, KeyDown, KeyLeft, KeyRight, KeyPageUp, KeyHome, KeyNumpad7, 32, 65};
    for (int key : notEnter)
        keys.OnKeyDown(key);
    ExpectSamePose(startPose);
    EXPECT_FALSE(state.m_bStarted);
    EXPECT_TRUE(log.empty());

    keys.OnKeyDown(KeyReturn);
    EXPECT_TRUE(state.m_bStarted);
    EXPECT_EQ(g_steeringMode, NoCamera);
    ExpectSamePose(startPose);
}

TEST_F(KeySteeringTest, EnterDuringPlayDoesNothing)
{
    keys.OnKeyDown(KeyReturn);
    keys.OnKeyDown(KeyReturn);
    EXPECT_EQ(log, CallLog{"StartWebcam"});
    EXPECT_FALSE(state.m_bResetRequested);
}

struct TableRow {
    int key;
    std::function<void(CCamera&, CLevelMap&)> step;
};

TEST_F(KeySteeringTest, EveryTableKeyIsOneCameraStepOfItsAmount)
{
    const TableRow table[] = {
        {KeyPageUp, [](CCamera& c, CLevelMap&) { c.LookUp(0.05f); }},
        {KeyPageDown, [](CCamera& c, CLevelMap&) { c.LookDown(0.05f); }},
        {KeyEnd, [](CCamera& c, CLevelMap&) { c.Descend(0.1f); }},
        {KeyHome, [](CCamera& c, CLevelMap&) { c.Rise(0.1f); }},
        {KeyLeft, [](CCamera& c, CLevelMap&) { c.TurnLeft(0.05f); }},
        {KeyUp, [](CCamera& c, CLevelMap& m) { c.WalkForward(m, 1.0f); }},
        {KeyRight, [](CCamera& c, CLevelMap&) { c.TurnRight(0.05f); }},
        {KeyDown, [](CCamera& c, CLevelMap& m) { c.WalkBackward(m, 1.0f); }},
        {KeyNumpad1, [](CCamera& c, CLevelMap& m) { c.StrafeLeft(m, 0.1f); }},
        {KeyNumpad3, [](CCamera& c, CLevelMap& m) { c.StrafeRight(m, 0.1f); }},
        {KeyNumpad7, [](CCamera& c, CLevelMap&) { c.RotateZNegative(0.1f); }},
        {KeyNumpad9, [](CCamera& c, CLevelMap&) { c.RotateZPositive(0.1f); }},
    };
    keys.OnKeyDown(KeyReturn);
    for (const TableRow& row : table) {
        camera.Reset();
        levelMap.ResetCell();
        // Looking off the z axis, so that the rolls about it move the view too.
        camera.TurnLeft(0.3f);
        const glm::vec3 eyeBefore = camera.Eye();
        const glm::vec3 lookAtBefore = camera.LookAt();
        const glm::vec3 upBefore = camera.Up();
        // Two presses: a held key repeats its step once per press.
        keys.OnKeyDown(row.key);
        keys.OnKeyDown(row.key);

        CLevelMap expectedMap;
        CCamera expected;
        expected.TurnLeft(0.3f);
        row.step(expected, expectedMap);
        row.step(expected, expectedMap);
        SCOPED_TRACE(row.key);
        ExpectSamePose(expected);
        EXPECT_EQ(levelMap.GetCurrentCell(), expectedMap.GetCurrentCell());
        EXPECT_FALSE(camera.Eye() == eyeBefore && camera.LookAt() == lookAtBefore && camera.Up() == upBefore)
            << "the step must move the camera";
    }
}

TEST_F(KeySteeringTest, KeysOutsideTheTableDoNothingDuringPlay)
{
    keys.OnKeyDown(KeyReturn);
    const CCamera startPose;
    // Keypad 2, 4, 6, 8, the digit 1 of the main keyboard, space, Insert.
    for (int key : {98, 100, 102, 104, 49, 32, 45})
        keys.OnKeyDown(key);
    ExpectSamePose(startPose);
}

}  // namespace
