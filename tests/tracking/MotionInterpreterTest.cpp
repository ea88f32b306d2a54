#include "tracking/MotionInterpreter.h"
#include "app/core/LevelCamera.h"
#include "tests/support/TemporaryFolder.h"
#include "tests/support/tracking/DebugWindowRecorder.h"
#include "tracking/HeadSample.h"
#include "tracking/PassRecord.h"
#include "tracking/SampleRing.h"
#include "tracking/ValuesPanel.h"
#include "world/CCamera.h"
#include "world/CLevelMap.h"

#include <gtest/gtest.h>
#include <opencv2/core.hpp>

#include <cmath>
#include <cstdint>
#include <tuple>

namespace {

struct Face {
    float leftEyeX, leftEyeY, rightEyeX, rightEyeY, mouthX, mouthY;
};

// Eyes 40 apart, the right one lower by `roll` degrees (a negative roll). At rest (0, 0, 0, 0) the
// whole measures are those of the rest pose: eye-centre x 120, face-centre y 130, eye-mouth 60, so
// the default 20 % dead zones are a little under 24, 26 and 12 pixels (20 x 0.01f < 0.2).
Face Head(float right, float down, float nearer = 0, double roll = 0)
{
    const float dx = float(20 * std::cos(roll * M_PI / 180)), dy = float(20 * std::sin(roll * M_PI / 180));
    return {120.5f + right - dx, 100.5f + down - dy, 120.5f + right + dx,
            100.5f + down + dy,  120 + right,        160.75f + down + nearer};
}

// An interpreter resting at Head(0, 0), steering a camera, and a reference camera that the
// expected moves are made on.
struct Steering {
    // Fills the ring with the face and cues, so the next pass sees exactly them. Without a
    // camera these passes move nothing.
    void Settle(const Face& f, double yaw = 0.0, double pitch = 0.0)
    {
        interpreter.SetRestPose(100, 100, 140, 100, 120, 160);
        interpreter.UpdatePixelThresholds();
        interpreter.SetCamera(nullptr);
        interpreter.SetYawMeasure(yaw);
        interpreter.SetPitchMeasure(pitch);
        for (int i = 0; i < 5; ++i)
            interpreter.AddSample(f.leftEyeX, f.leftEyeY, f.rightEyeX, f.rightEyeY, f.mouthX, f.mouthY);
        interpreter.SetCamera(&steeredCamera);
    }
    MovementOptions& Options() { return interpreter.Settings().Options(); }
    void SetThreshold(std::int32_t DetectionThresholds::*threshold, std::int32_t value)
    {
        interpreter.Settings().SetThreshold(threshold, value);
    }

    TemporaryFolder folder;
    DebugWindowRecorder windows;
    CLevelMap map, referenceMap;
    CCamera camera, reference;
    LevelCamera steeredCamera{camera, map};
    MotionInterpreter interpreter{windows};
};

// The dead zones are 12.8, 26 and 12 pixels.
PassRecord Pass(std::int32_t dx, std::int32_t signedDy, std::int32_t dz, bool faceRightOfRest, bool faceNearer)
{
    PassRecord pass;
    std::tie(pass.dx, pass.dy, pass.signedDy, pass.dz) = std::make_tuple(dx, std::abs(signedDy), signedDy, dz);
    std::tie(pass.faceRightOfRest, pass.faceNearer) = std::make_tuple(faceRightOfRest, faceNearer);
    std::tie(pass.thresholdX, pass.thresholdY, pass.thresholdZ) = std::make_tuple(12.8f, 26.0f, 12.0f);
    return pass;
}

using Step = void (*)(Steering&);
constexpr Step kLookUp = [](Steering& s) { s.reference.LookUp(0.002f); };
constexpr Step kLookDown = [](Steering& s) { s.reference.LookDown(0.002f); };
constexpr Step kForward = [](Steering& s) {
    s.reference.WalkForward(s.referenceMap, (15 - s.interpreter.ThresholdZ()) * 0.03f);
};

// One pass over a settled head: what to set first, the moves that bring the reference camera
// where the steered one must end, and the values the pass records (giroX and giroY: the cues
// truncated toward zero).
struct PassCase {
    const char* name;
    Face face;
    float yaw, pitch;
    Step configure, moves;
    std::int32_t movX, movY, movZ, giroZ;
};

const PassCase kPasses[] = {
    {"roll -12 only turns", Head(0, 0, 0, 12.5), 10, 20, nullptr, [](auto& s) { s.reference.TurnLeft(0.0016f); }, 0, 0,
     0, -12},
    {"roll 12", Head(0, 0, 0, -12.5), 0, 0, nullptr, [](auto& s) { s.reference.TurnRight(0.0016f); }, 0, 0, 0, 12},
    {"roll -10 is level", Head(0, 0, 0, 10.5), 0, 20, nullptr, kLookUp, 0, 0, 0, -10},
    {"roll 10 is level", Head(0, 0, 0, -10.5), 0, 20, nullptr, kLookUp, 0, 0, 0, 10},
    {"roll switched off", Head(0, 0, 0, 30.5), 0, 20, [](auto& s) { s.Options().rotateZ = false; }, kLookUp, 0, 0, 0,
     -30},
    {"pitch 10 looks up", Head(0, 0), 0, 10, nullptr, kLookUp, 0, 0, 0, 0},
    {"pitch -1 looks down", Head(0, 0), 0, -1, nullptr, kLookDown, 0, 0, 0, 0},
    {"pitch 3 levels the view", Head(0, 0), 0, 3,
     [](auto& s) {
         s.camera.LookUp(0.05f);
         s.reference.LookUp(0.05f);
     },
     [](auto& s) { s.reference.LevelView(); }, 0, 0, 0, 0},
    {"pitch switched off", Head(0, 0), 0, 30, [](auto& s) { s.Options().rotateY = false; }, nullptr, 0, 0, 0, 0},
    {"face right", Head(30, 0), 0, 0, nullptr,
     [](auto& s) { s.reference.StrafeLeft(s.referenceMap, (30 - s.interpreter.ThresholdX()) * 0.001f); }, -7, 0, 0, 0},
    {"face left", Head(-30, 0), 0, 0, nullptr,
     [](auto& s) { s.reference.StrafeRight(s.referenceMap, (30 - s.interpreter.ThresholdX()) * 0.001f); }, 7, 0, 0, 0},
    {"23 pixels is inside", Head(23, 0), 0, 0, nullptr, nullptr, 0, 0, 0, 0},
    {"side-step switched off", Head(40, 0), 0, 0, [](auto& s) { s.Options().moveX = false; }, nullptr, 0, 0, 0, 0},
    {"nearer", Head(0, 0, 15), 0, 0, nullptr, kForward, 0, 0, 4, 0},
    {"farther", Head(0, 0, -15), 0, 0, nullptr,
     [](auto& s) { s.reference.WalkBackward(s.referenceMap, (15 - s.interpreter.ThresholdZ()) * 0.04f); }, 0, 0, -4, 0},
    {"pitch 15 skips the walk", Head(0, 0, 15), 0, 15, nullptr, kLookUp, 0, 0, 0, 0},
    {"pitch -6 skips the walk", Head(0, 0, 15), 0, -6, nullptr, kLookDown, 0, 0, 0, 0},
    {"pitch 14 walks", Head(0, 0, 15), 0, 14, nullptr,
     [](auto& s) {
         kLookUp(s);
         kForward(s);
     },
     0, 0, 4, 0},
    {"pitch 15 walks unless looking", Head(0, 0, 15), 0, 15, [](auto& s) { s.Options().rotateY = false; }, kForward, 0,
     0, 4, 0},
    {"face higher", Head(0, -40), 0, 0, nullptr,
     [](auto& s) { s.reference.Rise(float((40 - s.interpreter.ThresholdY()) * 0.002)); }, 0, 15, 0, 0},
    {"a walk suppresses the descent", Head(0, 40, 15), 0, 0, nullptr, kForward, 0, 0, 4, 0},
    {"descends without walking", Head(0, 40, 15), 0, 0, [](auto& s) { s.Options().moveZ = false; },
     [](auto& s) { s.reference.Descend(float((48 - s.interpreter.ThresholdY()) * 0.002)); }, 0, -23, 0, 0},
    {"yaw 3", Head(0, 0), 3, 0, nullptr, [](auto& s) { s.reference.TurnRight(0.005f); }, 0, 0, 0, 0},
    {"yaw -3.5", Head(0, 0), -3.5f, 0, nullptr, [](auto& s) { s.reference.TurnLeft(0.005f); }, 0, 0, 0, 0},
    {"yaw threshold 5 moves the left limit", Head(0, 0), -4, 0,
     [](auto& s) { s.SetThreshold(&DetectionThresholds::yawThreshold, 5); }, nullptr, 0, 0, 0, 0},
    {"yaw threshold 5 moves the right limit", Head(0, 0), 4, 0,
     [](auto& s) { s.SetThreshold(&DetectionThresholds::yawThreshold, 5); }, nullptr, 0, 0, 0, 0},
};

}  // namespace

TEST(MotionInterpreter, EachPassMakesItsMovesInOrderAndRecordsItsValues)
{
    for (const PassCase& c : kPasses) {
        SCOPED_TRACE(c.name);
        Steering s;
        s.Settle(c.face, c.yaw, c.pitch);
        ASSERT_EQ(s.camera.Eye(), s.reference.Eye()) << "no camera";
        ASSERT_EQ(s.camera.LookAt(), s.reference.LookAt()) << "no camera";
        if (c.configure)
            c.configure(s);
        s.interpreter.Interpret();
        if (c.moves)
            c.moves(s);
        EXPECT_EQ(s.camera.Eye(), s.reference.Eye());
        EXPECT_EQ(s.camera.LookAt(), s.reference.LookAt());
        const SampleValues v = s.interpreter.LastPass().Samples();
        EXPECT_EQ(std::make_tuple(v.movX, v.movY, v.movZ, v.giroX, v.giroY, v.giroZ),
                  std::make_tuple(c.movX, c.movY, c.movZ, std::int32_t(c.yaw), std::int32_t(c.pitch), c.giroZ));
    }
}

// What "Gráficas" draws: every measure from the rest pose, even when its step did not run, the
// moves each made, and the dead zones they were held against.
TEST(MotionInterpreter, PassRecordsEachMeasureItsMoveAndTheDeadZones)
{
    const auto expect = [](const char* name, const Face& face, float yaw, float pitch,
                           const PerMeasure<float>& measures, const PerMeasure<bool>& moved) {
        SCOPED_TRACE(name);
        Steering s;
        s.Settle(face, yaw, pitch);
        s.interpreter.Interpret();
        EXPECT_EQ(s.interpreter.LastPass().Measures(), measures);
        EXPECT_EQ(s.interpreter.LastPass().moved, moved);
    };
    expect("right, nearer (no rise then), yaw and pitch on their edges", Head(30, 0, 15), 3, 10, {30, 15, 8, 3, 10, 0},
           {true, true, false, true, true, false});
    expect("higher; 23 pixels right is inside", Head(23, -40), -2.5f, 9.5f, {23, 0, -40, -2.5f, 9.5f, 0},
           {false, false, true, false, false, false});
    expect("a roll only turns", Head(30, 0, 15, 12.5), 3, 10, {30, 15, 8, 3, 10, -12},
           {false, false, false, false, false, true});

    Steering s;
    s.Settle(Head(0, 0));
    s.SetThreshold(&DetectionThresholds::yawThreshold, 5);
    std::vector<std::pair<float, float>> zones;
    for (const DeadZone& zone : s.interpreter.DeadZones())
        zones.emplace_back(zone.low, zone.high);
    const float x = s.interpreter.ThresholdX(), y = s.interpreter.ThresholdY(), z = s.interpreter.ThresholdZ();
    EXPECT_EQ(zones, (std::vector<std::pair<float, float>>{{-x, x}, {-z, z}, {-y, y}, {-5, 5}, {-1, 10}, {-10, 10}}));
}

TEST(MotionInterpreter, RestPoseAndPixelDeadZones)
{
    Steering s;
    const RestPose& rest = s.interpreter.Rest();
    s.interpreter.SetRestPose(100.5f, 99.0f, 140.5f, 101.0f, 120.0f, 160.7f);
    EXPECT_EQ(std::make_tuple(rest.restEyeCentreX, rest.restEyeY, rest.restFaceCentreY, rest.restEyeMouth),
              std::make_tuple(120.5f, 100.0f, 130, float(160.7f - 100.0)));
    s.interpreter.SetRestPose(0.0f, -3.0f, 0.0f, -3.0f, 0.0f, -0.5f);
    EXPECT_EQ(rest.restFaceCentreY, -1) << "-3.5 truncated, then halved toward zero";
    s.interpreter.SetRestPose(44, 100, 84, 100, 64, 160);
    s.SetThreshold(&DetectionThresholds::distanceX, 50);
    s.interpreter.UpdatePixelThresholds();
    EXPECT_EQ(std::make_tuple(s.interpreter.ThresholdX(), s.interpreter.ThresholdY(), s.interpreter.ThresholdZ()),
              std::make_tuple(50 * 0.01f * 64.0f, 20 * 0.01f * 130, 20 * 0.01f * 60.0f));
}

TEST(MotionInterpreter, ValuesWindowShowsEveryPassWhileSwitchedOn)
{
    Steering s;
    s.Settle(Head(30, 0), -3.5, 2.5);
    s.interpreter.ShowValuesWindow();
    s.interpreter.Interpret();
    s.interpreter.Interpret();
    const std::vector<cv::Mat> shown = s.windows.Shown(ValuesPanel::kWindowName);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(cv::countNonZero(shown[1] != ValuesPanel::Draw(s.interpreter.LastPass())), 0);
    EXPECT_EQ(ValuesPanel::Lines(s.interpreter.LastPass()),
              (std::vector<std::string>{"OjoX:Iz:130;Der:170", "OjoY:Iz:100;Der:100", "Boca X:150;Y:160",
                                        "Ang. Izq. Der.: -3", "Ang. Arr. Aba.: 2", "Giro Z: 0", "X Izquierda: 7",
                                        "Y Sin movimiento", "Z Sin movimiento"}));
    s.interpreter.HideValuesWindow();
    s.interpreter.Interpret();
    EXPECT_EQ(s.windows.Shown(ValuesPanel::kWindowName).size(), 2u);
}

TEST(HeadSample, MeasuresTruncateTowardZeroAndTheRollUsesTheRoughPi)
{
    const HeadSample s = HeadSample::FromFeatures(100.9f, 99.0f, 141.0f, 101.0f, 161.7f, 2.5f, -1.5f);
    // 100.9 + 20.05; 161.7 - 100; (100 + 161.7) / 2.
    EXPECT_EQ(std::make_tuple(s.eyeCentreX, s.eyeMouth, s.faceCentreY, s.yaw, s.pitch),
              std::make_tuple(120, 61, 130, 2.5f, -1.5f));
    EXPECT_EQ(HeadSample::FromFeatures(141, 100, 101, 100, 160, 0, 0).eyeCentreX, 161) << "measured from the left eye";
    // Right eye lower in the image: negative. 10.001 degrees: -10 with 180 / pi, -9 with 180 / 3.1415.
    const double angle = 10.001 * M_PI / 180.0;
    EXPECT_EQ(HeadSample::FromFeatures(0, 0, 100 * std::cos(angle), 100 * std::sin(angle), 50, 0, 0).roll, -9);
    EXPECT_EQ(HeadSample::FromFeatures(3e10f, -3e10f, 3e10f, -3e10f, 3e10f, 0, 0).eyeMouth, 2147483647) << "saturates";
    EXPECT_EQ(HeadSample::FromFeatures(NAN, 0, 1, 0, 0, 0, 0).eyeCentreX, 0);
}

TEST(SampleRing, WeightsOneTwoFourTwoOneOverTheLastFiveTruncatedTowardZero)
{
    SampleRing ring;
    // The first two are pushed out; then 1 x 1 + 2 x 10 + 4 x 100 + 2 x 1000 + 1 x 10000.
    for (const std::int32_t v : {5, 5, 1, 10, 100, 1000, 10000})
        ring.Add(HeadSample{v, -v, v, v == 10000 ? 9.0f : 0.0f, 0.0f, -v});
    const HeadSample s = ring.Smoothed();
    EXPECT_EQ(std::make_tuple(s.eyeCentreX, s.eyeMouth, s.faceCentreY, s.roll),
              std::make_tuple(1242, -1242, 1242, -1242));
    // Cues are scaled by the single-precision 0.1, which is not dividing by 10.
    EXPECT_EQ(s.yaw, 9.0f * 0.1f);
    EXPECT_NE(s.yaw, 9.0f / 10.0f);

    // Clearing the entries keeps the count: the next sample is alone, at weight 1.
    ring.ClearEntries();
    ring.Add(HeadSample{50, 0, 0, 0.0f, 0.0f, 0});
    EXPECT_EQ(std::make_tuple(ring.Count(), ring.Smoothed().eyeCentreX), std::make_tuple(8u, 5));
}

TEST(SampleRing, TheProgramsRingOutlivesItsInterpreters)
{
    Steering s;
    s.Settle(Head(0, 0));
    const std::uint32_t count = MotionInterpreter::SampleCount();
    // A new interpreter (the tracker rebuilt) zeroes the entries but keeps counting, so it
    // interprets at once, on the zeroes and its first sample.
    MotionInterpreter second(s.windows);
    second.AddSample(100, 100, 140, 100, 120, 160);
    EXPECT_EQ(MotionInterpreter::SampleCount(), count + 1);
    EXPECT_EQ(second.LastPass().head.average.eyeCentreX, 12);
}

TEST(PassRecord, ExcessesBeyondTheTruncatedThresholdsWithTheirSignsAndWords)
{
    const struct {
        PassRecord pass;
        std::int32_t movX, movY, movZ;
        std::vector<std::string> decisions;
    } cases[] = {
        {Pass(20, 30, 15, true, true), -8, -4, 3, {"X Izquierda: 8", "Y Abajo: 4", "Z Adelante: 3"}},
        {Pass(20, -30, 15, false, false), 8, 4, -3, {"X Derecha: 8", "Y Arriba: 4", "Z Atras: 3"}},
        // Whole pixels past 12.8 count from 12; the dead zones of y and z include their threshold.
        {Pass(12, 26, 12, true, true), 0, 0, 0, {"X Sin movimiento", "Y Sin movimiento", "Z Sin movimiento"}},
        {Pass(13, -27, 13, true, true), -1, 1, 1, {"X Izquierda: 1", "Y Arriba: 1", "Z Adelante: 1"}},
    };
    for (const auto& c : cases) {
        const SampleValues s = c.pass.Samples();
        const std::vector<std::string> lines = ValuesPanel::Lines(c.pass);
        EXPECT_EQ(std::make_tuple(s.movX, s.movY, s.movZ), std::make_tuple(c.movX, c.movY, c.movZ)) << c.decisions[0];
        EXPECT_EQ(std::vector<std::string>(lines.begin() + 6, lines.end()), c.decisions);
    }
    PassRecord edge = Pass(12, 0, 0, false, false);
    edge.thresholdX = 12.0f;
    EXPECT_EQ(ValuesPanel::Lines(edge)[6], "X Derecha: 0") << "the x dead zone excludes its threshold";
}
