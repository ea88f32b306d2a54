#include "tracking/HeadSample.h"

#include "faceanalysis/TruncateTowardZero.h"

#include <algorithm>
#include <cmath>

namespace {
// Degrees per radian as the steering has always used it: 180 / 3.1415, not 180 / pi.
constexpr double kInverseRoughPi = 0.31831927423205475;
}  // namespace

HeadSample HeadSample::FromFeatures(float leftEyeX, float leftEyeY, float rightEyeX, float rightEyeY, float mouthY,
                                    float yaw, float pitch)
{
    HeadSample sample;
    sample.eyeCentreX = TruncateTowardZero(leftEyeX + std::fabs(leftEyeX - rightEyeX) * 0.5);
    sample.eyeMouth = TruncateTowardZero(mouthY - (leftEyeY + rightEyeY) * 0.5);
    const double meanEyeY = std::max(leftEyeY, rightEyeY) - std::fabs(leftEyeY - rightEyeY) * 0.5;
    sample.faceCentreY = TruncateTowardZero((meanEyeY + mouthY) * 0.5);
    sample.yaw = yaw;
    sample.pitch = pitch;
    // Level eyes give 0; a right eye lower in the image than the left gives a negative roll.
    const double eyeLine = std::atan2(rightEyeX - leftEyeX, rightEyeY - leftEyeY);
    sample.roll = TruncateTowardZero(eyeLine * 180 * kInverseRoughPi - 90);
    return sample;
}
