#include "tracking/PassRecord.h"

#include "faceanalysis/TruncateTowardZero.h"
#include "tracking/SaturatingInt.h"

namespace {
std::int32_t Beyond(std::int32_t offset, float threshold)
{
    return ClampToInt32(std::int64_t{offset} - TruncateTowardZero(threshold));
}

std::int32_t Signed(bool outside, bool negative, std::int32_t beyond)
{
    if (!outside)
        return 0;
    return negative ? NegateSaturating(beyond) : beyond;
}
}  // namespace

std::int32_t PassRecord::BeyondX() const
{
    return Beyond(dx, thresholdX);
}
std::int32_t PassRecord::BeyondY() const
{
    return Beyond(dy, thresholdY);
}
std::int32_t PassRecord::BeyondZ() const
{
    return Beyond(dz, thresholdZ);
}

SampleValues PassRecord::Samples() const
{
    SampleValues values;
    values.movX = Signed(OutsideX(), faceRightOfRest, BeyondX());
    values.movY = Signed(OutsideY(), signedDy > 0, BeyondY());
    values.movZ = Signed(OutsideZ(), !faceNearer, BeyondZ());
    values.giroX = TruncateTowardZero(head.average.yaw);
    values.giroY = TruncateTowardZero(head.average.pitch);
    values.giroZ = head.average.roll;
    return values;
}

PerMeasure<float> PassRecord::Measures() const
{
    const HeadSample& average = head.average;
    PerMeasure<float> measures{};
    measures[MeasureEyeCentreX] = TruncateTowardZero(average.eyeCentreX - rest.restEyeCentreX);
    measures[MeasureEyeMouth] = TruncateTowardZero(average.eyeMouth - rest.restEyeMouth);
    measures[MeasureFaceCentreY] = ClampToInt32(std::int64_t{average.faceCentreY} - rest.restFaceCentreY);
    measures[MeasureYaw] = average.yaw;
    measures[MeasurePitch] = average.pitch;
    measures[MeasureRoll] = average.roll;
    return measures;
}
