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

}  // namespace

MotionInterpreter::MotionInterpreter(DebugWindows& windows) : m_windows(windows)
{
    m_settings.LoadThresholds();
    OpenSampleFiles();
    g_sampleRing.ClearEntries();
    g_smoothedHead.average = HeadSample();
}

MotionInterpreter::~MotionInterpreter() = default;

void MotionInterpreter::SetRestPose(float leftEyeX, float leftEyeY, float rightEyeX, float rightEyeY,
                                    [[maybe_unused]] float mouthX, float mouthY)
{
    m_restPose.restEyeMouth = mouthY - (leftEyeY + rightEyeY) * 0.5;
    m_restPose.restEyeCentreX = leftEyeX + std::fabs(leftEyeX - rightEyeX) * 0.5;
    m_restPose.restEyeY = std::max(leftEyeY, rightEyeY) - std::fabs(leftEyeY - rightEyeY) * 0.5;
    m_restPose.restFaceCentreY = TruncateTowardZero(m_restPose.restEyeY + mouthY) / 2;
}

void MotionInterpreter::UpdatePixelThresholds()
{
    const DetectionThresholds& distances = m_settings.Thresholds();
    m_thresholdX = distances.distanceX * 0.01f * m_restPose.restEyeCentreX;
    m_thresholdY = distances.distanceY * 0.01f * m_restPose.restFaceCentreY;
    m_thresholdZ = distances.distanceZ * 0.01f * m_restPose.restEyeMouth;
}

void MotionInterpreter::SetYawMeasure(double yaw)
{
    m_yawMeasure = static_cast<float>(yaw);
}

void MotionInterpreter::SetPitchMeasure(double pitch)
{
    m_pitchMeasure = static_cast<float>(pitch);
}

void MotionInterpreter::AddSample(float leftEyeX, float leftEyeY, float rightEyeX, float rightEyeY, float mouthX,
                                  float mouthY)
{
    g_sampleRing.Add(
        HeadSample::FromFeatures(leftEyeX, leftEyeY, rightEyeX, rightEyeY, mouthY, m_yawMeasure, m_pitchMeasure));
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
    const MovementOptions& options = m_settings.Options();
    PassRecord pass;
    pass.head = g_smoothedHead;
    pass.rest = m_restPose;
    pass.faceRightOfRest = smoothed.eyeCentreX > m_restPose.restEyeCentreX;
    pass.faceNearer = smoothed.eyeMouth > m_restPose.restEyeMouth;
    pass.thresholdX = m_thresholdX;
    pass.thresholdY = m_thresholdY;
    pass.thresholdZ = m_thresholdZ;

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

    m_sampleFiles.Append(pass.Samples());
    m_lastPass = pass;
    ++m_passCount;
    if (m_valuesWindowOpen)
        ShowValues(pass);
}

void MotionInterpreter::TurnByRoll(std::int32_t roll)
{
    if (!m_camera)
        return;
    const float amount = (AbsSaturating(roll) - kRollDeadZone) * kRollTurnGain;
    if (roll < 0)
        m_camera->TurnLeft(amount);
    else
        m_camera->TurnRight(amount);
}

bool MotionInterpreter::LookByPitch(float pitch)
{
    const bool up = pitch >= m_settings.Thresholds().pitchUpThreshold;
    const bool down = !up && pitch <= m_settings.Thresholds().pitchDownThreshold;
    if (!m_camera)
        return up || down;
    if (up)
        m_camera->LookUp(kLookStep);
    else if (down)
        m_camera->LookDown(kLookStep);
    else
        m_camera->LevelView();
    return up || down;
}

void MotionInterpreter::SideStep(PassRecord& pass)
{
    const float offset = g_smoothedHead.average.eyeCentreX - m_restPose.restEyeCentreX;
    pass.dx = AbsSaturating(TruncateTowardZero(offset));
    pass.moved[MeasureEyeCentreX] = pass.dx > m_thresholdX;
    if (!pass.moved[MeasureEyeCentreX] || !m_camera)
        return;
    const float amount = (pass.dx - m_thresholdX) * kSideStepGain;
    if (offset > 0)
        m_camera->StrafeLeft(amount);
    else
        m_camera->StrafeRight(amount);
}

bool MotionInterpreter::Walk(PassRecord& pass)
{
    const MovementOptions& options = m_settings.Options();
    if (!options.moveZ)
        return false;
    const float pitch = g_smoothedHead.average.pitch;
    if (options.rotateY && (pitch < kWalkPitchLow || pitch > kWalkPitchHigh))
        return false;
    const std::int32_t eyeMouth = g_smoothedHead.average.eyeMouth;
    pass.dz = AbsSaturating(TruncateTowardZero(eyeMouth - m_restPose.restEyeMouth));
    if (!(pass.dz > m_thresholdZ))
        return false;
    if (m_camera) {
        if (eyeMouth > m_restPose.restEyeMouth)
            m_camera->WalkForward((pass.dz - m_thresholdZ) * kWalkForwardGain);
        else
            m_camera->WalkBackward((pass.dz - m_thresholdZ) * kWalkBackwardGain);
    }
    return true;
}

void MotionInterpreter::RiseOrDescend(PassRecord& pass)
{
    pass.signedDy = ClampToInt32(std::int64_t{g_smoothedHead.average.faceCentreY} - m_restPose.restFaceCentreY);
    pass.dy = AbsSaturating(pass.signedDy);
    pass.moved[MeasureFaceCentreY] = pass.dy > m_thresholdY;
    if (!pass.moved[MeasureFaceCentreY] || !m_camera)
        return;
    const float amount = static_cast<float>((pass.dy - m_thresholdY) * kRiseGain);
    if (pass.signedDy > 0)
        m_camera->Descend(amount);
    else
        m_camera->Rise(amount);
}

bool MotionInterpreter::TurnByYaw(float yaw)
{
    const bool right = yaw >= m_settings.Thresholds().yawThreshold;
    const bool left = !right && yaw <= m_settings.Thresholds().yawLeftLimit;
    if (!m_camera)
        return right || left;
    if (right)
        m_camera->TurnRight(kYawTurn);
    else if (left)
        m_camera->TurnLeft(kYawTurn);
    return right || left;
}

PerMeasure<DeadZone> MotionInterpreter::DeadZones() const
{
    PerMeasure<DeadZone> zones;
    zones[MeasureEyeCentreX] = {-m_thresholdX, m_thresholdX};
    zones[MeasureEyeMouth] = {-m_thresholdZ, m_thresholdZ};
    zones[MeasureFaceCentreY] = {-m_thresholdY, m_thresholdY};
    const DetectionThresholds& thresholds = m_settings.Thresholds();
    zones[MeasureYaw] = {float(thresholds.yawLeftLimit), float(thresholds.yawThreshold)};
    zones[MeasurePitch] = {float(thresholds.pitchDownThreshold), float(thresholds.pitchUpThreshold)};
    zones[MeasureRoll] = {float(-kRollDeadZone), float(kRollDeadZone)};
    return zones;
}

void MotionInterpreter::ShowValuesWindow()
{
    m_windows.Create(ValuesPanel::kWindowName);
    m_valuesWindowOpen = true;
}

void MotionInterpreter::HideValuesWindow()
{
    m_windows.Destroy(ValuesPanel::kWindowName);
    m_valuesWindowOpen = false;
}

void MotionInterpreter::ShowValues(const PassRecord& pass)
{
    // Created again in case the player closed the window.
    m_windows.Create(ValuesPanel::kWindowName);
    m_windows.Show(ValuesPanel::kWindowName, ValuesPanel::Draw(pass));
}

bool MotionInterpreter::OpenSampleFiles()
{
    return m_sampleFiles.Open();
}

void MotionInterpreter::CloseSampleFiles()
{
    m_sampleFiles.Close();
}

const SmoothedHead& MotionInterpreter::Smoothed()
{
    return g_smoothedHead;
}

std::uint32_t MotionInterpreter::SampleCount()
{
    return g_sampleRing.Count();
}
