#include "tracking/HeadSample.h"
#include "tracking/SampleRing.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

HeadSample Sample(std::int32_t whole, float cue)
{
    HeadSample sample;
    sample.eyeCentreX = whole;
    sample.eyeMouth = whole * 2;
    sample.faceCentreY = -whole;
    sample.yaw = cue;
    sample.pitch = -cue;
    sample.roll = whole;
    return sample;
}

}

TEST(HeadSample, MeasuresFromEyesAndMouth)
{
    const HeadSample s = HeadSample::FromFeatures(100.9f, 99.0f, 141.0f, 101.0f, 161.7f, 2.5f, -1.5f);
    EXPECT_EQ(s.eyeCentreX, 120);    // 100.9 + 20.05, truncated
    EXPECT_EQ(s.eyeMouth, 61);       // 161.7 - 100
    EXPECT_EQ(s.faceCentreY, 130);   // (100 + 161.7) / 2 = 130.85
    EXPECT_EQ(s.yaw, 2.5f);
    EXPECT_EQ(s.pitch, -1.5f);
    // The eye-centre is measured from the left eye, so with the eyes swapped it is not the midpoint.
    EXPECT_EQ(HeadSample::FromFeatures(141.0f, 100.0f, 101.0f, 100.0f, 160.0f, 0, 0).eyeCentreX, 161);
}

TEST(HeadSample, RollSignAndItsRoughPi)
{
    EXPECT_EQ(HeadSample::FromFeatures(100, 100, 140, 100, 160, 0, 0).roll, 0);
    // Right eye lower in the image: negative; higher: positive.
    const float drop = 40.0f * std::tan(12.5f * 3.14159265f / 180.0f);
    EXPECT_EQ(HeadSample::FromFeatures(100, 100, 140, 100 + drop, 160, 0, 0).roll, -12);
    EXPECT_EQ(HeadSample::FromFeatures(100, 100, 140, 100 - drop, 160, 0, 0).roll, 12);
    // An eye line 10.001 degrees below level: with 180 / pi it would be -10; the steering's
    // 180 / 3.1415 makes the angle a little larger, so it truncates to -9.
    const double angle = (90.0 - 10.001) * 3.14159265358979 / 180.0;
    const float dx = static_cast<float>(100.0 * std::sin(angle));
    const float dy = static_cast<float>(100.0 * std::cos(angle));
    EXPECT_EQ(HeadSample::FromFeatures(0, 0, dx, dy, 50, 0, 0).roll, -9);
}

TEST(HeadSample, FarOffPositionsSaturateInsteadOfOverflowing)
{
    const HeadSample s = HeadSample::FromFeatures(3e10f, -3e10f, 3e10f, -3e10f, 3e10f, 0, 0);
    EXPECT_EQ(s.eyeCentreX, 2147483647);
    EXPECT_EQ(s.eyeMouth, 2147483647);
    const HeadSample n = HeadSample::FromFeatures(NAN, 0, 1, 0, 0, 0, 0);
    EXPECT_EQ(n.eyeCentreX, 0);
}

TEST(SampleRing, WeightsOneTwoFourTwoOneCentredTwoSamplesBack)
{
    // An impulse of 100 at each age in turn shows each weight.
    const std::int32_t expected[] = {10, 20, 40, 20, 10};
    for (int age = 0; age < 5; ++age) {
        SampleRing ring;
        for (int i = 4; i >= 0; --i)
            ring.Add(Sample(i == age ? 100 : 0, i == age ? 100.0f : 0.0f));
        const HeadSample s = ring.Smoothed();
        EXPECT_EQ(s.eyeCentreX, expected[age]) << "age " << age;
        EXPECT_EQ(s.eyeMouth, 2 * expected[age]);
        EXPECT_EQ(s.faceCentreY, -expected[age]);
        EXPECT_EQ(s.roll, expected[age]);
        EXPECT_FLOAT_EQ(s.yaw, static_cast<float>(expected[age]));
        EXPECT_FLOAT_EQ(s.pitch, -static_cast<float>(expected[age]));
    }
}

TEST(SampleRing, WrapsPastFiveAndKeepsOnlyTheLastFive)
{
    SampleRing ring;
    for (int i = 1; i <= 12; ++i)
        ring.Add(Sample(i * 10, static_cast<float>(i)));
    EXPECT_EQ(ring.Count(), 12u);
    // Samples 8..12: (80 + 2*90 + 4*100 + 2*110 + 120) / 10.
    EXPECT_EQ(ring.Smoothed().eyeCentreX, 100);
    EXPECT_FLOAT_EQ(ring.Smoothed().yaw, 10.0f);
}

TEST(SampleRing, WholeAveragesTruncateTowardZeroAndCuesScaleByAFloatTenth)
{
    SampleRing ring;
    ring.Add(Sample(-17, 9.0f));
    for (int i = 0; i < 4; ++i)
        ring.Add(Sample(0, 0.0f));
    // -17 / 10 is -1 toward zero (not -2).
    EXPECT_EQ(ring.Smoothed().eyeCentreX, -1);
    EXPECT_EQ(ring.Smoothed().eyeMouth, -3);
    // The cue sum is multiplied by 0.1f, which is not quite dividing by 10.
    EXPECT_EQ(ring.Smoothed().yaw, 9.0f * 0.1f);
    EXPECT_NE(ring.Smoothed().yaw, 9.0f / 10.0f);
}

TEST(SampleRing, ClearingEntriesKeepsTheCount)
{
    SampleRing ring;
    for (int i = 0; i < 7; ++i)
        ring.Add(Sample(50, 5.0f));
    ring.ClearEntries();
    EXPECT_EQ(ring.Count(), 7u);
    ring.Add(Sample(50, 5.0f));
    // Only the newest sample is left, at weight 1.
    EXPECT_EQ(ring.Smoothed().eyeCentreX, 5);
}
