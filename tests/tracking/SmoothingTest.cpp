#include "tests/tracking/TemporaryFolder.h"
#include "tracking/DebugWindowRecorder.h"
#include "tracking/HeadSample.h"
#include "tracking/MotionInterpreter.h"
#include "tracking/SampleRing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

TEST(HeadSample, MeasuresTruncateTowardZeroAndTheRollUsesTheRoughPi)
{
    const HeadSample s = HeadSample::FromFeatures(100.9f, 99.0f, 141.0f, 101.0f, 161.7f, 2.5f, -1.5f);
    // 100.9 + 20.05; 161.7 - 100; (100 + 161.7) / 2.
    EXPECT_EQ(std::make_tuple(s.eyeCentreX, s.eyeMouth, s.faceCentreY, s.yaw, s.pitch), std::make_tuple(120, 61, 130, 2.5f, -1.5f));
    EXPECT_EQ(HeadSample::FromFeatures(141, 100, 101, 100, 160, 0, 0).eyeCentreX, 161) << "measured from the left eye";

    // Right eye lower in the image: negative.
    const float drop = 40.0f * std::tan(12.5f * 3.14159265f / 180.0f);
    EXPECT_EQ(HeadSample::FromFeatures(100, 100, 140, 100 + drop, 160, 0, 0).roll, -12);
    EXPECT_EQ(HeadSample::FromFeatures(100, 100, 140, 100 - drop, 160, 0, 0).roll, 12);
    // 10.001 degrees below level: -10 with 180 / pi, -9 with the steering's 180 / 3.1415.
    const double angle = (90.0 - 10.001) * M_PI / 180.0;
    EXPECT_EQ(HeadSample::FromFeatures(0, 0, 100 * std::sin(angle), 100 * std::cos(angle), 50, 0, 0).roll, -9);

    EXPECT_EQ(HeadSample::FromFeatures(3e10f, -3e10f, 3e10f, -3e10f, 3e10f, 0, 0).eyeMouth, 2147483647) << "saturates";
    EXPECT_EQ(HeadSample::FromFeatures(NAN, 0, 1, 0, 0, 0, 0).eyeCentreX, 0);
}

TEST(SampleRing, WeightsOneTwoFourTwoOneCentredTwoSamplesBack)
{
    // An impulse of 100 at each age in turn shows each weight.
    const std::int32_t weights[] = {10, 20, 40, 20, 10};
    for (int age = 0; age < 5; ++age) {
        SampleRing ring;
        for (int i = 4; i >= 0; --i)
            ring.Add(i == age ? HeadSample{100, 200, -100, 100.0f, -100.0f, 100} : HeadSample{});
        const HeadSample s = ring.Smoothed();
        const std::int32_t w = weights[age];
        EXPECT_EQ(std::make_tuple(s.eyeCentreX, s.eyeMouth, s.faceCentreY, s.roll), std::make_tuple(w, 2 * w, -w, w)) << age;
        EXPECT_FLOAT_EQ(s.yaw, w);
        EXPECT_FLOAT_EQ(s.pitch, -w);
    }
}

TEST(SampleRing, WrapsPastFiveTruncatesTowardZeroAndScalesCuesByAFloatTenth)
{
    SampleRing ring;
    for (int i = 1; i <= 12; ++i)
        ring.Add(HeadSample{i * 10, 0, 0, 0.0f, 0.0f, 0});
    EXPECT_EQ(ring.Smoothed().eyeCentreX, 100) << "(80 + 2 x 90 + 4 x 100 + 2 x 110 + 120) / 10";

    ring.Add(HeadSample{-17, -34, 0, 9.0f, 0.0f, 0});
    for (int i = 0; i < 4; ++i)
        ring.Add(HeadSample{});
    EXPECT_EQ(std::make_tuple(ring.Smoothed().eyeCentreX, ring.Smoothed().eyeMouth), std::make_tuple(-1, -3));
    EXPECT_EQ(ring.Smoothed().yaw, 9.0f * 0.1f);
    EXPECT_NE(ring.Smoothed().yaw, 9.0f / 10.0f);

    // Clearing the entries keeps the count: the next sample is alone, at weight 1.
    ring.ClearEntries();
    ring.Add(HeadSample{50, 0, 0, 0.0f, 0.0f, 0});
    EXPECT_EQ(ring.Count(), 18u);
    EXPECT_EQ(ring.Smoothed().eyeCentreX, 5);
}

TEST(SampleRing, TheProgramsRingOutlivesItsInterpreters)
{
    TemporaryFolder folder;
    DebugWindowRecorder windows;
    MotionInterpreter first(windows);
    for (int i = 0; i < 6; ++i)
        first.AddSample(100, 100, 140, 100, 120, 160);
    const std::uint32_t count = MotionInterpreter::SampleCount();
    // A new interpreter (the tracker rebuilt) zeroes the entries but keeps counting, so it
    // interprets at once, on the zeroes and its first sample.
    MotionInterpreter second(windows);
    second.AddSample(100, 100, 140, 100, 120, 160);
    EXPECT_GE(count, 6u);
    EXPECT_EQ(MotionInterpreter::SampleCount(), count + 1);
    EXPECT_EQ(second.LastPass().head.average.eyeCentreX, 12);
}
