#include "tests/tracking/OctaveSampleFile.h"
#include "tests/tracking/TemporaryFolder.h"
#include "tracking/DebugWindowRecorder.h"
#include "tracking/MotionInterpreter.h"
#include "tracking/ValuesPanel.h"
#include "world/CCamera.h"
#include "world/CLevelMap.h"

#include <gtest/gtest.h>
#include <opencv2/core.hpp>

#include <cmath>
#include <tuple>

namespace {

// Eye and mouth positions in frame pixels.
struct Face {
    float leftEyeX, leftEyeY, rightEyeX, rightEyeY, mouthX, mouthY;
};

// At rest (0, 0, 0): eye-centre x 120, face-centre y 130, eye-mouth 60, so the default 20 % dead
// zones are a little under 24, 26 and 12 pixels (20 x 0.01f is a little under 0.2).
Face Head(float right, float down, float nearer = 0)
{
    return {100 + right, 100 + down, 140 + right, 100 + down, 120 + right, 160 + down + nearer};
}
const Face kRest = Head(0, 0);

// Eyes 40 apart, the right one lower by `degrees` (a negative roll); the other measures at rest.
Face Rolled(double degrees)
{
    const float dx = static_cast<float>(20.0 * std::cos(degrees * M_PI / 180.0));
    const float dy = static_cast<float>(20.0 * std::sin(degrees * M_PI / 180.0));
    return {120.5f - dx, 100.5f - dy, 120.5f + dx, 100.5f + dy, 120.0f, 160.75f};
}

// An interpreter resting at kRest, steering a camera through a level map.
struct Steering {
    // Fills the ring with the face and cues, so the next pass sees exactly them. Without a map
    // these passes move nothing.
    void Settle(const Face& f, double yaw = 0.0, double pitch = 0.0)
    {
        interpreter.SetRestPose(kRest.leftEyeX, kRest.leftEyeY, kRest.rightEyeX, kRest.rightEyeY, kRest.mouthX, kRest.mouthY);
        interpreter.UpdatePixelThresholds();
        interpreter.SetWorld(&camera, nullptr);
        interpreter.SetYawMeasure(yaw);
        interpreter.SetPitchMeasure(pitch);
        for (int i = 0; i < 5; ++i)
            interpreter.AddSample(f.leftEyeX, f.leftEyeY, f.rightEyeX, f.rightEyeY, f.mouthX, f.mouthY);
        interpreter.SetWorld(&camera, &map);
    }

    TemporaryFolder folder;
    DebugWindowRecorder windows;
    CLevelMap map;
    CCamera camera;
    MotionInterpreter interpreter{windows};
};

using Moves = void (*)(CCamera&, CLevelMap&, const MotionInterpreter&);
void LookUp(CCamera& c, CLevelMap&, const MotionInterpreter&) { c.LookUp(0.002f); }
void LookDown(CCamera& c, CLevelMap&, const MotionInterpreter&) { c.LookDown(0.002f); }
void Forward(CCamera& c, CLevelMap& m, const MotionInterpreter& i) { c.WalkForward(m, (15 - i.ThresholdZ()) * 0.03f); }

// One pass over a settled head: the moves a reference camera must make to end where the steered
// one does, and the values the pass records (giroX and giroY: the cues truncated toward zero).
struct PassCase {
    const char* name;
    Face face;
    float yaw, pitch;
    void (*configure)(MotionInterpreter&);
    Moves moves;
    std::int32_t movX, movY, movZ, giroZ;
};

const PassCase kPasses[] = {
    {"roll -12 only turns", Rolled(12.5), 10, 20, nullptr, [](auto& c, auto&, auto&) { c.TurnLeft(0.0016f); }, 0, 0, 0, -12},
    {"roll 12", Rolled(-12.5), 0, 0, nullptr, [](auto& c, auto&, auto&) { c.TurnRight(0.0016f); }, 0, 0, 0, 12},
    {"roll -10 is level", Rolled(10.5), 0, 20, nullptr, LookUp, 0, 0, 0, -10},
    {"roll 10 is level", Rolled(-10.5), 0, 20, nullptr, LookUp, 0, 0, 0, 10},
    {"roll switched off", Rolled(30.5), 0, 20, [](auto& i) { i.SetRotateZ(false); }, LookUp, 0, 0, 0, -30},
    {"pitch 10 looks up", kRest, 0, 10, nullptr, LookUp, 0, 0, 0, 0},
    {"pitch -1 looks down", kRest, 0, -1, nullptr, LookDown, 0, 0, 0, 0},
    {"pitch switched off", kRest, 0, 30, [](auto& i) { i.SetRotateY(false); }, nullptr, 0, 0, 0, 0},
    {"face right", Head(30, 0), 0, 0, nullptr, [](auto& c, auto& m, auto& i) { c.StrafeLeft(m, (30 - i.ThresholdX()) * 0.001f); }, -7, 0, 0, 0},
    {"face left", Head(-30, 0), 0, 0, nullptr, [](auto& c, auto& m, auto& i) { c.StrafeRight(m, (30 - i.ThresholdX()) * 0.001f); }, 7, 0, 0, 0},
    {"23 pixels is inside", Head(23, 0), 0, 0, nullptr, nullptr, 0, 0, 0, 0},
    {"side-step switched off", Head(40, 0), 0, 0, [](auto& i) { i.SetMoveX(false); }, nullptr, 0, 0, 0, 0},
    {"nearer", Head(0, 0, 15), 0, 0, nullptr, Forward, 0, 0, 4, 0},
    {"farther", Head(0, 0, -15), 0, 0, nullptr, [](auto& c, auto& m, auto& i) { c.WalkBackward(m, (15 - i.ThresholdZ()) * 0.04f); }, 0, 0, -4, 0},
    {"pitch 15 skips the walk", Head(0, 0, 15), 0, 15, nullptr, LookUp, 0, 0, 0, 0},
    {"pitch -6 skips the walk", Head(0, 0, 15), 0, -6, nullptr, LookDown, 0, 0, 0, 0},
    {"pitch 14 walks", Head(0, 0, 15), 0, 14, nullptr, [](auto& c, auto& m, auto& i) { LookUp(c, m, i); Forward(c, m, i); }, 0, 0, 4, 0},
    {"pitch 15 walks without looking", Head(0, 0, 15), 0, 15, [](auto& i) { i.SetRotateY(false); }, Forward, 0, 0, 4, 0},
    {"face higher", Head(0, -40), 0, 0, nullptr, [](auto& c, auto&, auto& i) { c.Rise(float((40 - i.ThresholdY()) * 0.002)); }, 0, 15, 0, 0},
    {"a walk suppresses the descent", Head(0, 40, 15), 0, 0, nullptr, Forward, 0, 0, 4, 0},
    {"descends without walking", Head(0, 40, 15), 0, 0, [](auto& i) { i.SetMoveZ(false); },
     [](auto& c, auto&, auto& i) { c.Descend(float((47 - i.ThresholdY()) * 0.002)); }, 0, -22, 0, 0},
    {"yaw 3", kRest, 3, 0, nullptr, [](auto& c, auto&, auto&) { c.TurnRight(0.005f); }, 0, 0, 0, 0},
    {"yaw -3.5", kRest, -3.5f, 0, nullptr, [](auto& c, auto&, auto&) { c.TurnLeft(0.005f); }, 0, 0, 0, 0},
    {"yaw threshold 5 moves the left limit", kRest, -4, 0, [](auto& i) { i.SetYawThreshold(5); }, nullptr, 0, 0, 0, 0},
};

}

TEST(MotionInterpreter, EachPassMakesItsMovesInOrderAndRecordsItsValues)
{
    for (const PassCase& c : kPasses) {
        SCOPED_TRACE(c.name);
        Steering steering;
        if (c.configure)
            c.configure(steering.interpreter);
        steering.Settle(c.face, c.yaw, c.pitch);
        CLevelMap referenceMap;
        CCamera reference;
        ASSERT_TRUE(steering.camera.Eye() == reference.Eye() && steering.camera.LookAt() == reference.LookAt()) << "no map";
        steering.interpreter.Interpret();
        if (c.moves)
            c.moves(reference, referenceMap, steering.interpreter);
        EXPECT_EQ(steering.camera.Eye(), reference.Eye());
        EXPECT_EQ(steering.camera.LookAt(), reference.LookAt());
        const SampleValues s = steering.interpreter.LastPass().Samples();
        EXPECT_EQ(std::make_tuple(s.movX, s.movY, s.movZ, s.giroX, s.giroY, s.giroZ),
                  std::make_tuple(c.movX, c.movY, c.movZ, std::int32_t(c.yaw), std::int32_t(c.pitch), c.giroZ));
    }
}

TEST(MotionInterpreter, BetweenThePitchThresholdsTheViewLevels)
{
    Steering steering;
    steering.Settle(kRest, 0.0, 3.0);
    CCamera reference;
    steering.camera.LookUp(0.05f);
    reference.LookUp(0.05f);
    reference.LevelView();
    steering.interpreter.Interpret();
    EXPECT_EQ(steering.camera.LookAt(), reference.LookAt());
}

TEST(MotionInterpreter, RestPoseAndPixelDeadZones)
{
    Steering steering;
    MotionInterpreter& interpreter = steering.interpreter;
    interpreter.SetRestPose(100.5f, 99.0f, 140.5f, 101.0f, 120.0f, 160.7f);
    const RestPose& rest = interpreter.Rest();
    EXPECT_EQ(std::make_tuple(rest.restEyeCentreX, rest.restEyeY, rest.restFaceCentreY), std::make_tuple(120.5f, 100.0f, 130));
    EXPECT_FLOAT_EQ(rest.restEyeMouth, 60.7f);
    interpreter.SetRestPose(0.0f, -3.0f, 0.0f, -3.0f, 0.0f, -0.5f);
    EXPECT_EQ(rest.restFaceCentreY, -1) << "-3.5 truncated, then halved toward zero";

    interpreter.SetRestPose(44, 100, 84, 100, 64, 160);
    interpreter.UpdatePixelThresholds();
    EXPECT_EQ(std::make_tuple(interpreter.ThresholdX(), interpreter.ThresholdY(), interpreter.ThresholdZ()),
              std::make_tuple(20 * 0.01f * 64.0f, 20 * 0.01f * 130, 20 * 0.01f * 60.0f));
    interpreter.SetDistanceX(50);
    EXPECT_FLOAT_EQ(interpreter.ThresholdX(), 12.8f) << "until recomputed";
    interpreter.UpdatePixelThresholds();
    EXPECT_FLOAT_EQ(interpreter.ThresholdX(), 32.0f);
    interpreter.SetYawThreshold(-2147483647 - 1);
    EXPECT_EQ(interpreter.YawLeftLimit(), 2147483647);
}

TEST(MotionInterpreter, ValuesWindowShowsEveryPassWhileSwitchedOn)
{
    Steering steering;
    steering.Settle(Head(30, 0));
    EXPECT_TRUE(steering.windows.Calls().empty());
    steering.interpreter.ShowValuesWindow();
    steering.interpreter.Interpret();
    steering.interpreter.Interpret();
    const std::vector<cv::Mat> shown = steering.windows.Shown(ValuesPanel::kWindowName);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(cv::countNonZero(shown[1] != ValuesPanel::Draw(steering.interpreter.LastPass())), 0);
    const std::vector<std::string> lines = ValuesPanel::Lines(steering.interpreter.LastPass());
    EXPECT_EQ(std::make_tuple(lines[0], lines[6]), std::make_tuple("OjoX:Iz:130;Der:170", "X Izquierda: 7"));
    steering.interpreter.HideValuesWindow();
    steering.windows.Clear();
    steering.interpreter.Interpret();
    EXPECT_TRUE(steering.windows.Calls().empty());
}

TEST(MotionInterpreter, WholeRunSampleFilesParseWithOneValuePerPass)
{
    Steering steering;
    MotionInterpreter& interpreter = steering.interpreter;
    steering.Settle(kRest);
    interpreter.OpenSampleFiles();
    for (int i = 0; i < 40; ++i) {
        interpreter.SetYawMeasure(i % 7 - 3);
        interpreter.SetPitchMeasure(i % 11 - 4);
        const Face f = Head(i % 13 * 4.0f - 24, i % 5 * 10.0f - 20, i % 9 * 5.0f - 10);
        interpreter.AddSample(f.leftEyeX, f.leftEyeY, f.rightEyeX, f.rightEyeY, f.mouthX, f.mouthY);
        interpreter.Interpret();
    }
    const SampleValues last = interpreter.LastPass().Samples();
    interpreter.CloseSampleFiles();
    const std::int32_t lastValues[6] = {last.movX, last.movY, last.movZ, last.giroX, last.giroY, last.giroZ};
    for (int i = 0; i < 6; ++i) {
        const OctaveSampleFile file = OctaveSampleFile::Parse(TemporaryFolder::Read(kSampleFileNames[i][0]), kSampleFileNames[i][1]);
        EXPECT_EQ(file.error, "") << kSampleFileNames[i][0];
        ASSERT_EQ(file.samples.size(), 80u) << kSampleFileNames[i][0];
        EXPECT_EQ(file.samples.back(), lastValues[i]) << kSampleFileNames[i][0];
    }
}
