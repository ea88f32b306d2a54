#include "tests/tracking/OctaveSampleFile.h"
#include "tests/tracking/TemporaryFolder.h"
#include "tests/tracking/TextFiles.h"
#include "tracking/DebugWindowRecorder.h"
#include "tracking/MotionInterpreter.h"
#include "tracking/ValuesPanel.h"
#include "world/CCamera.h"
#include "world/CLevelMap.h"

#include <gtest/gtest.h>
#include <opencv2/core.hpp>

#include <cmath>

namespace {

// Eye and mouth positions in frame pixels.
struct Face {
    float leftEyeX, leftEyeY, rightEyeX, rightEyeY, mouthX, mouthY;

    // Moved as a whole in the image.
    Face Shifted(float x, float y) const
    {
        return {leftEyeX + x, leftEyeY + y, rightEyeX + x, rightEyeY + y, mouthX + x, mouthY + y};
    }
    Face WithMouthY(float y) const { return {leftEyeX, leftEyeY, rightEyeX, rightEyeY, mouthX, y}; }
};

// Rest: eye-centre x 120, face-centre y 130, eye-mouth 60; with the default 20 % the dead zones
// are a little under 24, 26 and 12 pixels (20 x 0.01f is a little under 0.2).
const Face kRest = {100, 100, 140, 100, 120, 160};

// Eyes 40 apart about (120.5, 100.5), the right one lower by `degrees` (negative roll); the other
// measures stay at rest.
Face Rolled(double degrees)
{
    const double radians = degrees * 3.14159265358979 / 180.0;
    const float dx = static_cast<float>(20.0 * std::cos(radians));
    const float dy = static_cast<float>(20.0 * std::sin(radians));
    return {120.5f - dx, 100.5f - dy, 120.5f + dx, 100.5f + dy, 120.0f, 160.75f};
}

class MotionInterpreterTest : public testing::Test {
protected:
    void SetUp() override
    {
        interpreter.SetRestPose(kRest.leftEyeX, kRest.leftEyeY, kRest.rightEyeX, kRest.rightEyeY,
                                kRest.mouthX, kRest.mouthY);
        interpreter.UpdatePixelThresholds();
    }

    void Add(const Face& face)
    {
        interpreter.AddSample(face.leftEyeX, face.leftEyeY, face.rightEyeX, face.rightEyeY,
                              face.mouthX, face.mouthY);
    }

    // Fills the ring with the face and cues without moving, so the next pass sees exactly them.
    void Settle(const Face& face, double yaw = 0.0, double pitch = 0.0)
    {
        interpreter.SetWorld(nullptr, nullptr);
        interpreter.SetYawMeasure(yaw);
        interpreter.SetPitchMeasure(pitch);
        for (int i = 0; i < 5; ++i)
            Add(face);
        interpreter.SetWorld(&camera, &map);
    }

    // One pass on the settled face; the camera must end where `reference` is.
    void ExpectPassMovesLikeReference()
    {
        interpreter.Interpret();
        ExpectSameVector(camera.Eye(), reference.Eye(), "eye");
        ExpectSameVector(camera.LookAt(), reference.LookAt(), "look-at");
    }

    static void ExpectSameVector(const glm::vec3& actual, const glm::vec3& expected, const char* what)
    {
        EXPECT_EQ(actual.x, expected.x) << what;
        EXPECT_EQ(actual.y, expected.y) << what;
        EXPECT_EQ(actual.z, expected.z) << what;
    }

    TemporaryFolder folder;
    DebugWindowRecorder windows;
    CLevelMap map;
    CCamera camera;
    CLevelMap referenceMap;
    CCamera reference;
    MotionInterpreter interpreter{windows};
};

}

TEST_F(MotionInterpreterTest, RestPoseAndPixelDeadZones)
{
    interpreter.SetRestPose(100.5f, 99.0f, 140.5f, 101.0f, 120.0f, 160.7f);
    EXPECT_EQ(interpreter.Rest().restEyeCentreX, 120.5f);
    EXPECT_EQ(interpreter.Rest().restEyeY, 100.0f);
    EXPECT_EQ(interpreter.Rest().restFaceCentreY, 130);
    EXPECT_FLOAT_EQ(interpreter.Rest().restEyeMouth, 60.7f);

    // The face-centre is truncated, then halved toward zero: -3.5 -> -3 -> -1.
    interpreter.SetRestPose(0.0f, -3.0f, 0.0f, -3.0f, 0.0f, -0.5f);
    EXPECT_EQ(interpreter.Rest().restFaceCentreY, -1);

    interpreter.SetRestPose(44, 100, 84, 100, 64, 160);
    interpreter.UpdatePixelThresholds();
    EXPECT_FLOAT_EQ(interpreter.ThresholdX(), 12.8f);
    EXPECT_FLOAT_EQ(interpreter.ThresholdY(), 26.0f);
    EXPECT_FLOAT_EQ(interpreter.ThresholdZ(), 12.0f);
    interpreter.SetDistanceX(50);
    EXPECT_FLOAT_EQ(interpreter.ThresholdX(), 12.8f);  // until recomputed
    interpreter.UpdatePixelThresholds();
    EXPECT_FLOAT_EQ(interpreter.ThresholdX(), 32.0f);
}

TEST_F(MotionInterpreterTest, SamplesCarryTheCuesOfThePreviousStepAndTheRawPositions)
{
    Settle(kRest.Shifted(0.9f, 0.0f), 7.5, -2.25);
    const SmoothedHead& head = MotionInterpreter::Smoothed();
    EXPECT_FLOAT_EQ(head.average.yaw, 7.5f);
    EXPECT_FLOAT_EQ(head.average.pitch, -2.25f);
    EXPECT_EQ(head.average.eyeCentreX, 120);
    EXPECT_EQ(head.leftEyeX, 100);
    EXPECT_EQ(head.rightEyeX, 140);
    EXPECT_EQ(head.mouthY, 160);
}

TEST_F(MotionInterpreterTest, RollBeyondTenOnlyTurnsButIsStillRecorded)
{
    // Pitch and yaw cues that would look up and turn right, were they evaluated.
    Settle(Rolled(12.5), 10.0, 20.0);
    ASSERT_EQ(MotionInterpreter::Smoothed().average.roll, -12);
    reference.TurnLeft(0.0016f);
    ExpectPassMovesLikeReference();

    const PassRecord& pass = interpreter.LastPass();
    EXPECT_EQ(pass.dx, 0);
    EXPECT_EQ(pass.dy, 0);
    EXPECT_EQ(pass.dz, 0);
    const std::vector<std::string> lines = ValuesPanel::Lines(pass);
    EXPECT_EQ(lines[6], "X Sin movimiento");
    EXPECT_EQ(lines[7], "Y Sin movimiento");
    EXPECT_EQ(lines[8], "Z Sin movimiento");

    interpreter.CloseSampleFiles();
    EXPECT_EQ(OctaveSampleFile::Parse(ReadText("muestrasGiroZ.m"), "giroZ").samples.back(), -12);
    EXPECT_EQ(OctaveSampleFile::Parse(ReadText("muestrasGiroY.m"), "giroY").samples.back(), 20);
    EXPECT_EQ(OctaveSampleFile::Parse(ReadText("muestrasGiroX.m"), "giroX").samples.back(), 10);

    // The other way round turns right by the same amount.
    Settle(Rolled(-12.5));
    reference.TurnRight(0.0016f);
    ExpectPassMovesLikeReference();
}

TEST_F(MotionInterpreterTest, RollOfTenIsInsideTheDeadZone)
{
    Settle(Rolled(10.5), 0.0, 20.0);
    ASSERT_EQ(MotionInterpreter::Smoothed().average.roll, -10);
    reference.LookUp(0.002f);
    ExpectPassMovesLikeReference();

    Settle(Rolled(-10.5), 0.0, 20.0);
    ASSERT_EQ(MotionInterpreter::Smoothed().average.roll, 10);
    reference.LookUp(0.002f);
    ExpectPassMovesLikeReference();

    // With turning by roll switched off a larger roll does not turn either.
    interpreter.SetRotateZ(false);
    Settle(Rolled(30.5), 0.0, 20.0);
    reference.LookUp(0.002f);
    ExpectPassMovesLikeReference();
}

TEST_F(MotionInterpreterTest, PitchThresholdsAreInclusiveAndBetweenThemTheViewLevels)
{
    camera.LookUp(0.05f);
    reference.LookUp(0.05f);

    Settle(kRest, 0.0, 10.0);
    reference.LookUp(0.002f);
    ExpectPassMovesLikeReference();

    Settle(kRest, 0.0, -1.0);
    reference.LookDown(0.002f);
    ExpectPassMovesLikeReference();

    Settle(kRest, 0.0, 3.0);
    reference.LevelView();
    ExpectPassMovesLikeReference();
    EXPECT_LT(camera.LookAt().y - camera.Eye().y, 0.05f - 0.002f);

    // Looking by pitch switched off leaves the view as it is.
    interpreter.SetRotateY(false);
    Settle(kRest, 0.0, 30.0);
    ExpectPassMovesLikeReference();
}

TEST_F(MotionInterpreterTest, SideStepFollowsTheEyeCentre)
{
    // Face 30 pixels right in the image.
    Settle(kRest.Shifted(30, 0));
    reference.StrafeLeft(referenceMap, (30 - interpreter.ThresholdX()) * 0.001f);
    ExpectPassMovesLikeReference();
    EXPECT_LT(camera.Eye().x, 0.0f);

    Settle(kRest.Shifted(-30, 0));
    reference.StrafeRight(referenceMap, (30 - interpreter.ThresholdX()) * 0.001f);
    ExpectPassMovesLikeReference();
    EXPECT_EQ(interpreter.LastPass().dx, 30);

    // Inside the dead zone nothing moves.
    Settle(kRest.Shifted(23, 0));
    ExpectPassMovesLikeReference();
}

TEST_F(MotionInterpreterTest, WalkForwardWhenNearerAndBackWhenFarther)
{
    // Eye-mouth 75 against 60.
    Settle(kRest.WithMouthY(175));
    reference.WalkForward(referenceMap, (15 - interpreter.ThresholdZ()) * 0.03f);
    ExpectPassMovesLikeReference();
    EXPECT_GT(camera.Eye().z, 0.0f);

    Settle(kRest.WithMouthY(145));
    reference.WalkBackward(referenceMap, (15 - interpreter.ThresholdZ()) * 0.04f);
    ExpectPassMovesLikeReference();
}

TEST_F(MotionInterpreterTest, PitchOutsideItsWalkingRangeSkipsTheWalk)
{
    Settle(kRest.WithMouthY(175), 0.0, 15.0);
    reference.LookUp(0.002f);
    ExpectPassMovesLikeReference();
    EXPECT_EQ(interpreter.LastPass().dz, 0);

    Settle(kRest.WithMouthY(175), 0.0, -6.0);
    reference.LookDown(0.002f);
    ExpectPassMovesLikeReference();

    // Pitch 14 is still inside the range.
    Settle(kRest.WithMouthY(175), 0.0, 14.0);
    reference.LookUp(0.002f);
    reference.WalkForward(referenceMap, (15 - interpreter.ThresholdZ()) * 0.03f);
    ExpectPassMovesLikeReference();

    // Without looking by pitch the pitch does not matter.
    interpreter.SetRotateY(false);
    Settle(kRest.WithMouthY(175), 0.0, 15.0);
    reference.WalkForward(referenceMap, (15 - interpreter.ThresholdZ()) * 0.03f);
    ExpectPassMovesLikeReference();
    EXPECT_EQ(interpreter.LastPass().dz, 15);
}

TEST_F(MotionInterpreterTest, RiseAndDescendByFaceHeightUnlessTheFaceWalks)
{
    // 40 pixels higher: face-centre 90 against 130.
    Settle(kRest.Shifted(0, -40));
    reference.Rise(static_cast<float>((40 - interpreter.ThresholdY()) * 0.002));
    ExpectPassMovesLikeReference();
    EXPECT_GT(camera.Eye().y, 2.5f);

    // Lower and nearer: face-centre 177, eye-mouth 75. The walk wins.
    const Face lowerNearer = kRest.Shifted(0, 40).WithMouthY(215);
    Settle(lowerNearer);
    reference.WalkForward(referenceMap, (15 - interpreter.ThresholdZ()) * 0.03f);
    ExpectPassMovesLikeReference();
    EXPECT_EQ(interpreter.LastPass().dy, 0);

    interpreter.SetMoveZ(false);
    Settle(lowerNearer);
    reference.Descend(static_cast<float>((47 - interpreter.ThresholdY()) * 0.002));
    ExpectPassMovesLikeReference();
    EXPECT_EQ(interpreter.LastPass().signedDy, 47);
}

TEST_F(MotionInterpreterTest, YawThresholdSetsBothTurnLimits)
{
    interpreter.SetYawThreshold(5);
    EXPECT_EQ(interpreter.YawLeftLimit(), -5);

    Settle(kRest, 4.0);
    ExpectPassMovesLikeReference();
    Settle(kRest, -4.0);
    ExpectPassMovesLikeReference();

    Settle(kRest, 5.0);
    reference.TurnRight(0.005f);
    ExpectPassMovesLikeReference();
    Settle(kRest, -5.0);
    reference.TurnLeft(0.005f);
    ExpectPassMovesLikeReference();

    interpreter.SetYawThreshold(-2147483647 - 1);
    EXPECT_EQ(interpreter.YawLeftLimit(), 2147483647);
}

TEST_F(MotionInterpreterTest, ExcessValuesOfTheSideStep)
{
    // Rest eye-centre 64: the dead zone is 12.8 pixels.
    interpreter.SetRestPose(44, 100, 84, 100, 64, 160);
    interpreter.UpdatePixelThresholds();
    const Face rest = {44, 100, 84, 100, 64, 160};

    Settle(rest.Shifted(20, 0));
    interpreter.Interpret();
    EXPECT_EQ(interpreter.LastPass().Samples().movX, -8);
    Settle(rest.Shifted(-20, 0));
    interpreter.Interpret();
    EXPECT_EQ(interpreter.LastPass().Samples().movX, 8);
    Settle(rest.Shifted(12, 0));
    interpreter.Interpret();
    EXPECT_EQ(interpreter.LastPass().Samples().movX, 0);

    interpreter.SetMoveX(false);
    Settle(rest.Shifted(40, 0));
    interpreter.Interpret();
    EXPECT_EQ(interpreter.LastPass().Samples().movX, 0);
    EXPECT_EQ(interpreter.LastPass().dx, 0);
}

TEST_F(MotionInterpreterTest, WithoutAWorldPassesRecordButMoveNothing)
{
    Settle(kRest.Shifted(50, -50).WithMouthY(200), 9.0, 20.0);
    interpreter.SetWorld(nullptr, nullptr);
    interpreter.Interpret();
    ExpectSameVector(camera.Eye(), reference.Eye(), "eye");
    ExpectSameVector(camera.LookAt(), reference.LookAt(), "look-at");
    EXPECT_EQ(interpreter.LastPass().dx, 50);
    // A camera without a map does not move either.
    interpreter.SetWorld(&camera, nullptr);
    interpreter.Interpret();
    ExpectSameVector(camera.Eye(), reference.Eye(), "eye");
}

TEST_F(MotionInterpreterTest, WholeRunSampleFilesParseWithOneValuePerPass)
{
    int passes = 0;
    const auto countPass = [&] { passes += MotionInterpreter::SampleCount() >= 5 ? 1 : 0; };
    interpreter.SetWorld(&camera, &map);
    for (int i = 0; i < 40; ++i) {
        interpreter.SetYawMeasure(i % 7 - 3);
        interpreter.SetPitchMeasure(i % 11 - 4);
        Add(kRest.Shifted(static_cast<float>(i % 13) * 4 - 24, static_cast<float>(i % 5) * 10 - 20)
                .WithMouthY(150 + static_cast<float>(i % 9) * 5));
        countPass();
        interpreter.Interpret();
        countPass();
    }
    const SampleValues last = interpreter.LastPass().Samples();
    interpreter.CloseSampleFiles();

    const char* const names[6][2] = {{"muestrasPosX.m", "movX"},   {"muestrasPosY.m", "movY"},
                                     {"muestrasPosZ.m", "movZ"},   {"muestrasGiroX.m", "giroX"},
                                     {"muestrasGiroY.m", "giroY"}, {"muestrasGiroZ.m", "giroZ"}};
    const std::int32_t lastValues[6] = {last.movX, last.movY, last.movZ, last.giroX, last.giroY, last.giroZ};
    for (int i = 0; i < 6; ++i) {
        const OctaveSampleFile file = OctaveSampleFile::Parse(ReadText(names[i][0]), names[i][1]);
        EXPECT_EQ(file.error, "") << names[i][0];
        ASSERT_EQ(file.samples.size(), static_cast<std::size_t>(passes)) << names[i][0];
        EXPECT_EQ(file.samples.back(), lastValues[i]) << names[i][0];
    }
}

TEST_F(MotionInterpreterTest, ValuesWindowShowsEveryPassWhileSwitchedOn)
{
    Settle(kRest);
    interpreter.Interpret();
    EXPECT_TRUE(windows.Calls().empty());

    interpreter.ShowValuesWindow();
    EXPECT_TRUE(interpreter.ValuesWindowOpen());
    EXPECT_TRUE(windows.IsOpen("Parámetros"));
    Settle(kRest.Shifted(30, 0));
    windows.Clear();
    interpreter.Interpret();
    interpreter.Interpret();
    const std::vector<cv::Mat> shown = windows.Shown("Parámetros");
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].size(), cv::Size(500, 270));
    EXPECT_EQ(cv::countNonZero(shown[1] != ValuesPanel::Draw(interpreter.LastPass())), 0);
    // 30 pixels against a dead zone of 23.99..., truncated to 23.
    EXPECT_EQ(ValuesPanel::Lines(interpreter.LastPass())[6], "X Izquierda: 7");

    interpreter.HideValuesWindow();
    EXPECT_FALSE(interpreter.ValuesWindowOpen());
    EXPECT_FALSE(windows.IsOpen("Parámetros"));
    windows.Clear();
    interpreter.Interpret();
    EXPECT_TRUE(windows.Calls().empty());
}

TEST_F(MotionInterpreterTest, SmoothingStateOutlivesTheInterpreter)
{
    Settle(kRest);
    const std::uint32_t count = MotionInterpreter::SampleCount();
    Add(kRest);
    EXPECT_EQ(MotionInterpreter::SampleCount(), count + 1);

    // A new interpreter (as after the tracker is rebuilt) zeroes the ring but keeps counting,
    // so it interprets at once, on the zeroes mixed with its first sample.
    DebugWindowRecorder otherWindows;
    MotionInterpreter other(otherWindows);
    EXPECT_EQ(MotionInterpreter::SampleCount(), count + 1);
    EXPECT_EQ(MotionInterpreter::Smoothed().average.eyeCentreX, 0);
    other.AddSample(kRest.leftEyeX, kRest.leftEyeY, kRest.rightEyeX, kRest.rightEyeY, kRest.mouthX, kRest.mouthY);
    EXPECT_EQ(MotionInterpreter::SampleCount(), count + 2);
    EXPECT_EQ(MotionInterpreter::Smoothed().average.eyeCentreX, 12);
    EXPECT_EQ(other.LastPass().head.average.eyeCentreX, 12);
}

TEST(MotionInterpreterThresholds, LoadedAtConstructionAndSavedOnDemand)
{
    TemporaryFolder folder;
    WriteText("configuracion", "Distancia X:20\nDistancia Y:20\nDistancia Z:20\nAngulo GiroX:5\n"
                               "Angulo GiroY Arriba:10\nAngulo GiroY Abajo:-1\nAngulo GiroZ:10\n");
    DebugWindowRecorder windows;
    MotionInterpreter interpreter(windows);
    EXPECT_EQ(interpreter.YawThreshold(), 5);
    EXPECT_EQ(interpreter.YawLeftLimit(), -5);
    EXPECT_TRUE(interpreter.MoveX() && interpreter.MoveY() && interpreter.MoveZ());
    EXPECT_TRUE(interpreter.RotateX() && interpreter.RotateY() && interpreter.RotateZ());

    interpreter.SetDistanceY(33);
    interpreter.SetPitchDownThreshold(-4);
    interpreter.SetYawThreshold(2);
    interpreter.SetRollThreshold(15);
    ASSERT_TRUE(interpreter.SaveThresholds());
    EXPECT_EQ(ReadText("configuracion"), "Distancia X:20\nDistancia Y:33\nDistancia Z:20\nAngulo GiroX:2\n"
                                         "Angulo GiroY Arriba:10\nAngulo GiroY Abajo:-4\nAngulo GiroZ:15\n");
}

TEST(MotionInterpreterThresholds, StartsWithDefaultsWhereNothingCanBeWritten)
{
    TemporaryFolder folder;
    std::filesystem::create_directory("configuracion");
    std::filesystem::create_directory("muestrasPosZ.m");
    DebugWindowRecorder windows;
    MotionInterpreter interpreter(windows);
    EXPECT_EQ(interpreter.DistanceX(), 20);
    EXPECT_EQ(interpreter.PitchDownThreshold(), -1);
    EXPECT_FALSE(interpreter.SaveThresholds());
    EXPECT_FALSE(interpreter.OpenSampleFiles());
    for (int i = 0; i < 6; ++i)
        interpreter.AddSample(100, 100, 140, 100, 120, 160);
    interpreter.CloseSampleFiles();
    EXPECT_EQ(ReadText("muestrasPosX.m"), "");
    EXPECT_FALSE(std::filesystem::exists("muestrasGiroX.m"));
}
