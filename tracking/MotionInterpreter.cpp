#include "tracking/MotionInterpreter.h"

#include "faceanalysis/TruncateTowardZero.h"
#include "tracking/DebugWindows.h"
#include "tracking/SampleRing.h"
#include "tracking/SaturatingInt.h"
#include "tracking/SteeredCamera.h"
#include "tracking/ValuesPanel.h"

#include <algorithm>
#include <cmath>

namespace {

// One smoothing state for the program: it outlives trackers and their interpreters.
SampleRing g_sampleRing;
SmoothedHead g_smoothedHead;

// Below this many samples since program start the ring still holds start-up zeros.
constexpr std::uint32_t kSmoothingWindow = 5;
// Roll within this many degrees of level does not turn.
constexpr std::int32_t kRollDeadZone = 10;
// Outside this pitch range the eye-mouth distance mostly shows the pitch, not the distance.
constexpr double kWalkPitchLow = -5.0;
constexpr double kWalkPitchHigh = 14.0;

// The camera's moves in one pass. Radians of turn per degree of roll beyond its dead zone.
constexpr float kRollTurnGain = 0.0008f;
// Look-at height, in world units, while the pitch is past a threshold.
constexpr float kLookStep = 0.002f;
// Side-step, in view lengths, per pixel of eye-centre offset beyond the x dead zone.
constexpr float kSideStepGain = 0.001f;
// Walking step, in view lengths, per pixel of eye-mouth change beyond the z dead zone (nearer,
// farther).
constexpr float kWalkForwardGain = 0.03f;
constexpr float kWalkBackwardGain = 0.04f;
// Height, in world units, per pixel of face-centre offset beyond the y dead zone (in double).
constexpr double kRiseGain = 0.002;
// Radians of turn while the yaw is past a threshold.
constexpr float kYawTurn = 0.005f;

}

MotionInterpreter::MotionInterpreter(DebugWindows& debugWindows) : windows(debugWindows)
{
    settings.LoadThresholds();
    OpenSampleFiles();
    g_sampleRing.ClearEntries();
    g_smoothedHead.average = HeadSample();
}

MotionInterpreter::~MotionInterpreter() = default;

void MotionInterpreter::SetRestPose(float leftEyeX, float leftEyeY, float rightEyeX, float rightEyeY,
                                    [[maybe_unused]] float mouthX, float mouthY)
{
    restPose.restEyeMouth = mouthY - (leftEyeY + rightEyeY) * 0.5;
    restPose.restEyeCentreX = leftEyeX + std::fabs(leftEyeX - rightEyeX) * 0.5;
    restPose.restEyeY = std::max(leftEyeY, rightEyeY) - std::fabs(leftEyeY - rightEyeY) * 0.5;
    restPose.restFaceCentreY = TruncateTowardZero(restPose.restEyeY + mouthY) / 2;
}

void MotionInterpreter::UpdatePixelThresholds()
{
    const DetectionThresholds& distances = settings.Thresholds();
    thresholdX = distances.distanceX * 0.01f * restPose.restEyeCentreX;
    thresholdY = distances.distanceY * 0.01f * restPose.restFaceCentreY;
    thresholdZ = distances.distanceZ * 0.01f * restPose.restEyeMouth;
}

void MotionInterpreter::SetYawMeasure(double yaw)
{
    yawMeasure = static_cast<float>(yaw);
}

void MotionInterpreter::SetPitchMeasure(double pitch)
{
    pitchMeasure = static_cast<float>(pitch);
}

void MotionInterpreter::AddSample(float leftEyeX, float leftEyeY, float rightEyeX, float rightEyeY,
                                  float mouthX, float mouthY)
{
    g_sampleRing.Add(HeadSample::FromFeatures(leftEyeX, leftEyeY, rightEyeX, rightEyeY, mouthY,
                                              yawMeasure, pitchMeasure));
    g_smoothedHead.average = g_sampleRing.Smoothed();
    g_smoothedHead.leftEyeX = TruncateTowardZero(leftEyeX);
    g_smoothedHead.leftEyeY = TruncateTowardZero(leftEyeY);
    g_smoothedHead.rightEyeX = TruncateTowardZero(rightEyeX);
    g_smoothedHead.rightEyeY = TruncateTowardZero(rightEyeY);
    g_smoothedHead.mouthX = TruncateTowardZero(mouthX);
    g_smoothedHead.mouthY = TruncateTowardZero(mouthY);
    Interpret();
}

void MotionInterpreter::Interpret()
{
    if (g_sampleRing.Count() < kSmoothingWindow)
        return;

    const HeadSample& smoothed = g_smoothedHead.average;
    const MovementOptions& options = settings.Options();
    PassRecord pass;
    pass.head = g_smoothedHead;
    pass.rest = restPose;
    pass.faceRightOfRest = smoothed.eyeCentreX > restPose.restEyeCentreX;
    pass.faceNearer = smoothed.eyeMouth > restPose.restEyeMouth;
    pass.thresholdX = thresholdX;
    pass.thresholdY = thresholdY;
    pass.thresholdZ = thresholdZ;

    // A rolled head only turns: it leans the whole face, so the other measures mean nothing.
    const bool rolled = options.rotateZ && AbsSaturating(smoothed.roll) > kRollDeadZone;
    if (rolled) {
        TurnByRoll(smoothed.roll);
        pass.moved[MeasureRoll] = true;
    } else {
        if (options.rotateY)
            pass.moved[MeasurePitch] = LookByPitch(smoothed.pitch);
        if (options.moveX)
            SideStep(pass);
        pass.moved[MeasureEyeMouth] = Walk(pass);
        if (options.moveY && !pass.moved[MeasureEyeMouth])
            RiseOrDescend(pass);
        if (options.rotateX)
            pass.moved[MeasureYaw] = TurnByYaw(smoothed.yaw);
    }

    sampleFiles.Append(pass.Samples());
    lastPass = pass;
    ++passCount;
    if (valuesWindowOpen)
        ShowValues(pass);
}

void MotionInterpreter::TurnByRoll(std::int32_t roll)
{
    if (!camera)
        return;
    const float amount = (AbsSaturating(roll) - kRollDeadZone) * kRollTurnGain;
    if (roll < 0)
        camera->TurnLeft(amount);
    else
        camera->TurnRight(amount);
}

bool MotionInterpreter::LookByPitch(float pitch)
{
    const bool up = pitch >= settings.Thresholds().pitchUpThreshold;
    const bool down = !up && pitch <= settings.Thresholds().pitchDownThreshold;
    if (!camera)
        return up || down;
    if (up)
        camera->LookUp(kLookStep);
    else if (down)
        camera->LookDown(kLookStep);
    else
        camera->LevelView();
    return up || down;
}

void MotionInterpreter::SideStep(PassRecord& pass)
{
    const float offset = g_smoothedHead.average.eyeCentreX - restPose.restEyeCentreX;
    pass.dx = AbsSaturating(TruncateTowardZero(offset));
    pass.moved[MeasureEyeCentreX] = pass.dx > thresholdX;
    if (!pass.moved[MeasureEyeCentreX] || !camera)
        return;
    const float amount = (pass.dx - thresholdX) * kSideStepGain;
    if (offset > 0)
        camera->StrafeLeft(amount);
    else
        camera->StrafeRight(amount);
}

bool MotionInterpreter::Walk(PassRecord& pass)
{
    const MovementOptions& options = settings.Options();
    if (!options.moveZ)
        return false;
    const float pitch = g_smoothedHead.average.pitch;
    if (options.rotateY && (pitch < kWalkPitchLow || pitch > kWalkPitchHigh))
        return false;
    const std::int32_t eyeMouth = g_smoothedHead.average.eyeMouth;
    pass.dz = AbsSaturating(TruncateTowardZero(eyeMouth - restPose.restEyeMouth));
    if (!(pass.dz > thresholdZ))
        return false;
    if (camera) {
        if (eyeMouth > restPose.restEyeMouth)
            camera->WalkForward((pass.dz - thresholdZ) * kWalkForwardGain);
        else
            camera->WalkBackward((pass.dz - thresholdZ) * kWalkBackwardGain);
    }
    return true;
}

void MotionInterpreter::RiseOrDescend(PassRecord& pass)
{
    pass.signedDy = ClampToInt32(std::int64_t{g_smoothedHead.average.faceCentreY} - restPose.restFaceCentreY);
    pass.dy = AbsSaturating(pass.signedDy);
    pass.moved[MeasureFaceCentreY] = pass.dy > thresholdY;
    if (!pass.moved[MeasureFaceCentreY] || !camera)
        return;
    const float amount = static_cast<float>((pass.dy - thresholdY) * kRiseGain);
    if (pass.signedDy > 0)
        camera->Descend(amount);
    else
        camera->Rise(amount);
}

bool MotionInterpreter::TurnByYaw(float yaw)
{
    const bool right = yaw >= settings.Thresholds().yawThreshold;
    const bool left = !right && yaw <= settings.Thresholds().yawLeftLimit;
    if (!camera)
        return right || left;
    if (right)
        camera->TurnRight(kYawTurn);
    else if (left)
        camera->TurnLeft(kYawTurn);
    return right || left;
}

PerMeasure<DeadZone> MotionInterpreter::DeadZones() const
{
    PerMeasure<DeadZone> zones;
    zones[MeasureEyeCentreX] = {-thresholdX, thresholdX};
    zones[MeasureEyeMouth] = {-thresholdZ, thresholdZ};
    zones[MeasureFaceCentreY] = {-thresholdY, thresholdY};
    const DetectionThresholds& thresholds = settings.Thresholds();
    zones[MeasureYaw] = {float(thresholds.yawLeftLimit), float(thresholds.yawThreshold)};
    zones[MeasurePitch] = {float(thresholds.pitchDownThreshold), float(thresholds.pitchUpThreshold)};
    zones[MeasureRoll] = {float(-kRollDeadZone), float(kRollDeadZone)};
    return zones;
}

void MotionInterpreter::ShowValuesWindow()
{
    windows.Create(ValuesPanel::kWindowName);
    valuesWindowOpen = true;
}

void MotionInterpreter::HideValuesWindow()
{
    windows.Destroy(ValuesPanel::kWindowName);
    valuesWindowOpen = false;
}

void MotionInterpreter::ShowValues(const PassRecord& pass)
{
    // Created again in case the player closed the window.
    windows.Create(ValuesPanel::kWindowName);
    windows.Show(ValuesPanel::kWindowName, ValuesPanel::Draw(pass));
}

bool MotionInterpreter::OpenSampleFiles()
{
    return sampleFiles.Open();
}

void MotionInterpreter::CloseSampleFiles()
{
    sampleFiles.Close();
}

const SmoothedHead& MotionInterpreter::Smoothed()
{
    return g_smoothedHead;
}

std::uint32_t MotionInterpreter::SampleCount()
{
    return g_sampleRing.Count();
}
