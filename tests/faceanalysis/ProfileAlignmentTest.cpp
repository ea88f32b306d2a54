#include "faceanalysis/IntensityProfile.h"
#include "faceanalysis/ProfileAlignment.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

constexpr double RangeFactor = 0.25;

// A face-like row profile: smooth bumps and dips over 60 indices around grey 120.
IntensityProfile Reference(double contrast = 1.0)
{
    std::vector<float> values(60);
    for (int k = 0; k < 60; ++k)
        values[k] = static_cast<float>(
            120 + contrast * (40 * std::sin(k * 0.21) + 25 * std::cos(k * 0.47) +
                              15 * std::exp(-(k - 35) * (k - 35) / 8.0)));
    return IntensityProfile(0, std::move(values));
}

IntensityProfile Weights(const IntensityProfile& reference)
{
    return IntensityProfile(reference.First(), std::vector<float>(reference.Count(), 25.0f));
}

struct Alignment {
    IntensityProfile aligned;
    double cost = -1;
    double offset = -1;
    double slope = -1;
    double gain = -1;
    double scale = -1;
    double shift = -1;
};

Alignment Align(IntensityProfile& current, const IntensityProfile& reference, int levels = 2)
{
    Alignment a;
    AlignProfile(RangeFactor, current, reference, Weights(reference), a.aligned, a.cost, a.offset,
                 a.slope, a.gain, a.scale, a.shift, 4, levels);
    return a;
}

TEST(ProfileAlignment, PriorIsOneForIdentityAndSymmetricInGain)
{
    EXPECT_DOUBLE_EQ(AlignmentPrior(0, 0, 1, 1), 1.0);
    EXPECT_DOUBLE_EQ(AlignmentPrior(0, 0, 2, 1), AlignmentPrior(0, 0, 0.5, 1));
    EXPECT_DOUBLE_EQ(AlignmentPrior(0, 0, 1, 1.2), std::exp(3 * 0.2 * 0.2));
}

TEST(ProfileAlignment, PriorRejectsParametersOutOfRange)
{
    // Gain 0.3 passes the cost's own gain test (> 0.25) but not the prior's (< 0.4).
    EXPECT_EQ(AlignmentPrior(0, 0, 0.3, 1), NoComparison);
    EXPECT_LT(AlignmentPrior(0, 0, 0.4, 1), NoComparison);
    EXPECT_EQ(AlignmentPrior(0, 0, 2.6, 1), NoComparison);
    EXPECT_LT(AlignmentPrior(0, 0, 2.5, 1), NoComparison);
    EXPECT_EQ(AlignmentPrior(-201, 0, 1, 1), NoComparison);
    EXPECT_EQ(AlignmentPrior(0, -2.6, 1, 1), NoComparison);
    EXPECT_EQ(AlignmentPrior(0, 0, 1, 0.1), NoComparison);
}

TEST(ProfileAlignment, CostTestsOffsetWithSignAndPricesGainThroughThePrior)
{
    const IntensityProfile reference = Reference();
    const IntensityProfile weights = Weights(reference);
    EXPECT_DOUBLE_EQ(AlignmentCost(reference, reference, weights, 0, 0, 1, 1, 0), 0.0);
    EXPECT_EQ(AlignmentCost(reference, reference, weights, 201, 0, 1, 1, 0), NoComparison);

    IntensityProfile off = reference;
    off.ApplyLinear(5, 0, 1);
    // Every difference is 5 over a weight of 25: root error 1, times the prior of scale 1.1.
    EXPECT_NEAR(AlignmentCost(off, reference, weights, 0, 0, 1, 1.1, 7), std::exp(0.03), 1e-6);
    EXPECT_GT(AlignmentCost(off, reference, weights, 0, 0, 0.3, 1, 0), 1e50);
}

TEST(ProfileAlignment, FitLinearRecoversGainSlopeAndOffset)
{
    const IntensityProfile reference = Reference();
    IntensityProfile aligned = reference;
    // aligned = (reference - 4 - 0.1 x) / 0.8, so reference = 4 + 0.1 x + 0.8 aligned.
    aligned.ApplyLinear(-4 / 0.8, -0.1 / 0.8, 1 / 0.8);
    double offset = 0;
    double slope = 0;
    double gain = 0;
    FitLinear(aligned, reference, offset, slope, gain);
    EXPECT_NEAR(offset, 4.0, 1e-3);
    EXPECT_NEAR(slope, 0.1, 1e-5);
    EXPECT_NEAR(gain, 0.8, 1e-5);
}

TEST(ProfileAlignment, FitLinearNeedsFiveOverlappingIndicesAndARegularSystem)
{
    const IntensityProfile reference = Reference();
    double offset = -1;
    double slope = -1;
    double gain = -1;
    FitLinear(IntensityProfile(56, {1, 2, 3, 4, 5}), reference, offset, slope, gain);
    EXPECT_EQ(offset, 0.0);
    EXPECT_EQ(slope, 0.0);
    EXPECT_EQ(gain, 1.0);

    // A flat profile makes the system singular.
    FitLinear(IntensityProfile(0, std::vector<float>(60, 9.0f)), reference, offset, slope, gain);
    EXPECT_EQ(offset, 0.0);
    EXPECT_EQ(gain, 1.0);
}

TEST(ProfileAlignment, ProfileAlignedWithItselfIsTheIdentity)
{
    const IntensityProfile reference = Reference();
    IntensityProfile current = reference;
    const Alignment a = Align(current, reference);
    EXPECT_EQ(a.scale, 1.0);
    EXPECT_EQ(a.shift, 0.0);
    EXPECT_NEAR(a.offset, 0.0, 1e-9);
    EXPECT_NEAR(a.slope, 0.0, 1e-9);
    EXPECT_NEAR(a.gain, 1.0, 1e-9);
    EXPECT_NEAR(a.cost, 0.0, 1e-6);
    EXPECT_EQ(a.aligned.First(), reference.First());
    EXPECT_EQ(a.aligned.Count(), reference.Count());
}

TEST(ProfileAlignment, FindsAShiftOfThreeIndices)
{
    const IntensityProfile reference = Reference();
    IntensityProfile current = reference;
    current.SetFirst(reference.First() + 3);
    const Alignment a = Align(current, reference);
    EXPECT_NEAR(a.scale, 1.0, 1e-12);
    EXPECT_NEAR(a.shift, 3.0, 0.005 * reference.Count());
    EXPECT_LT(a.cost, 0.5);
    EXPECT_EQ(a.aligned.First(), 0);
}

TEST(ProfileAlignment, CorrectsGainAndOffsetAndTheCurrentProfileInPlace)
{
    // Low contrast, so that the first grid, still at gain 1, settles on the true place.
    const IntensityProfile reference = Reference(0.2);
    IntensityProfile current = reference;
    current.ApplyLinear(10, 0, 2);
    const Alignment a = Align(current, reference, 1);
    EXPECT_NEAR(a.gain, 0.5, 1e-6);
    EXPECT_NEAR(a.offset, -5.0, 1e-4);
    EXPECT_NEAR(a.slope, 0.0, 1e-6);
    EXPECT_NEAR(a.cost, 0.0, 1e-4);
    for (int index = reference.First(); index <= reference.Last(); ++index)
        EXPECT_NEAR(current.At(index), reference.At(index), 1e-3);
}

TEST(ProfileAlignment, FindsAScaleWithinAFineStep)
{
    const IntensityProfile reference = Reference();
    // current[j] = reference at j / 1.1: the profile grew by 1.1 along its axis.
    IntensityProfile stretched;
    stretched.ResampleFrom(reference, 1 / 1.1, 0);
    const Alignment a = Align(stretched, reference);
    EXPECT_NEAR(a.scale, 1.1, 0.006);
    EXPECT_LT(a.cost, 2.0);
}

TEST(ProfileAlignment, ShortOverlapGetsNoPhotometricCorrection)
{
    const IntensityProfile reference = Reference();
    // Four samples far from the reference: whatever the grid finds overlaps in fewer than 5.
    IntensityProfile current(200, {50, 60, 70, 80});
    const Alignment a = Align(current, reference);
    EXPECT_EQ(a.gain, 1.0);
    EXPECT_EQ(a.offset, 0.0);
    EXPECT_GE(a.cost, NoComparison);
    EXPECT_EQ(a.scale, 1.0);
    EXPECT_EQ(a.shift, 0.0);
}

TEST(ProfileAlignment, OneSampleCurrentProfileIsAHopelessMatch)
{
    const IntensityProfile reference = Reference();
    IntensityProfile current(3, std::vector<float>{0.0f});
    const Alignment a = Align(current, reference);
    EXPECT_GE(a.cost, NoComparison);
}

} // namespace
