#include "tracking/SampleRing.h"

#include "tracking/SaturatingInt.h"

void SampleRing::ClearEntries()
{
    for (HeadSample& entry : m_entries)
        entry = HeadSample();
}

void SampleRing::Add(const HeadSample& sample)
{
    m_entries[m_count % kSize] = sample;
    ++m_count;
}

const HeadSample& SampleRing::Back(int age) const
{
    // The newest entry sits at (count - 1) mod 5.
    return m_entries[(std::uint64_t{m_count} + 2 * kSize - 1 - age) % kSize];
}

namespace {
std::int32_t WeightedWhole(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d, std::int32_t e)
{
    const std::int64_t sum =
        1 * std::int64_t{a} + 2 * std::int64_t{b} + 4 * std::int64_t{c} + 2 * std::int64_t{d} + 1 * std::int64_t{e};
    return ClampToInt32(sum / 10);
}

float WeightedFloat(float a, float b, float c, float d, float e)
{
    return (1 * a + 2 * b + 4 * c + 2 * d + 1 * e) * 0.1f;
}
}  // namespace

HeadSample SampleRing::Smoothed() const
{
    const HeadSample& s0 = Back(0);
    const HeadSample& s1 = Back(1);
    const HeadSample& s2 = Back(2);
    const HeadSample& s3 = Back(3);
    const HeadSample& s4 = Back(4);
    HeadSample average;
    average.eyeCentreX = WeightedWhole(s0.eyeCentreX, s1.eyeCentreX, s2.eyeCentreX, s3.eyeCentreX, s4.eyeCentreX);
    average.eyeMouth = WeightedWhole(s0.eyeMouth, s1.eyeMouth, s2.eyeMouth, s3.eyeMouth, s4.eyeMouth);
    average.faceCentreY = WeightedWhole(s0.faceCentreY, s1.faceCentreY, s2.faceCentreY, s3.faceCentreY, s4.faceCentreY);
    average.yaw = WeightedFloat(s0.yaw, s1.yaw, s2.yaw, s3.yaw, s4.yaw);
    average.pitch = WeightedFloat(s0.pitch, s1.pitch, s2.pitch, s3.pitch, s4.pitch);
    average.roll = WeightedWhole(s0.roll, s1.roll, s2.roll, s3.roll, s4.roll);
    return average;
}
