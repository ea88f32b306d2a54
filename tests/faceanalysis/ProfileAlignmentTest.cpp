#include "faceanalysis/ProfileAlignment.h"
#include "faceanalysis/IntensityProfile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <utility>
#include <vector>

namespace {

// A face-like row profile: smooth bumps and dips over 60 indices around grey 120.
IntensityProfile Reference(double contrast = 1.0)
{
    std::vector<float> values(60);
    for (int k = 0; k < 60; ++k)
        values[k] = static_cast<float>(
            120 +
            contrast * (40 * std::sin(k * 0.21) + 25 * std::cos(k * 0.47) + 15 * std::exp(-(k - 35) * (k - 35) / 8.0)));
    return IntensityProfile(0, std::move(values));
}

const IntensityProfile kWeights(0, std::vector<float>(60, 25.0f));

struct Alignment : ProfileFit {
    IntensityProfile aligned;
};

// A tracked face's alignment: range factor 0.25, four grid steps each side.
Alignment Align(IntensityProfile& current, const IntensityProfile& reference, int levels = 2)
{
    IntensityProfile aligned;
    const ProfileFit fit = AlignProfile(0.25, current, reference, kWeights, aligned, 4, levels);
    return {fit, std::move(aligned)};
}

TEST(ProfileAlignment, PriorAndCostGrowAwayFromTheIdentityAndRefuseWhatIsOutOfRange)
{
    EXPECT_DOUBLE_EQ(AlignmentPrior(0, 0, 1, 1.2), std::exp(3 * 0.2 * 0.2));
    EXPECT_DOUBLE_EQ(AlignmentPrior(0, 0, 2, 1), AlignmentPrior(0, 0, 0.5, 1));
    // Gain 0.3 passes the cost's own test (> 0.25) but not the prior's (>= 0.4).
    using Case = std::tuple<double, double, double, double, bool>;  // offset, slope, gain, scale, refused
    for (const auto& [offset, slope, gain, scale, refused] : {Case{0, 0, 0.3, 1, true},
                                                              {0, 0, 0.4, 1, false},
                                                              {0, 0, 2.5, 1, false},
                                                              {0, 0, 2.6, 1, true},
                                                              {-201, 0, 1, 1, true},
                                                              {-200, 2.5, 1, 1, false},
                                                              {0, -2.6, 1, 1, true},
                                                              {0, 0, 1, 0.1, true}})
        EXPECT_EQ(AlignmentPrior(offset, slope, gain, scale) == kNoComparison, refused)
            << offset << " " << slope << " " << gain << " " << scale;

    IntensityProfile off = Reference();
    EXPECT_EQ(AlignmentCost(off, Reference(), kWeights, 201, 0, 1, 1, 0), kNoComparison);
    off.ApplyLinear(5, 0, 1);
    // Every difference is 5 over a weight of 25: root error 1, times the prior of scale 1.1.
    EXPECT_NEAR(AlignmentCost(off, Reference(), kWeights, 0, 0, 1, 1.1, 7), std::exp(0.03), 1e-6);
}

TEST(ProfileAlignment, AProfileWithItselfIsTheIdentityShiftedByThreeIsFoundThereAndTwicePlusTenRelit)
{
    IntensityProfile current = Reference();
    const Alignment same = Align(current, Reference());
    EXPECT_EQ(std::make_tuple(same.scale, same.shift, same.aligned.First(), same.aligned.Count()),
              std::make_tuple(1.0, 0.0, 0, 60));
    EXPECT_NEAR(same.gain, 1, 1e-9);
    EXPECT_NEAR(same.offset, 0, 1e-9);
    EXPECT_NEAR(same.slope, 0, 1e-9);
    EXPECT_NEAR(same.cost, 0.0, 1e-6);

    current.SetFirst(3);
    const Alignment shifted = Align(current, Reference());
    EXPECT_NEAR(shifted.scale, 1.0, 1e-12);
    EXPECT_NEAR(shifted.shift, 3.0, 0.3);
    EXPECT_LT(shifted.cost, 0.5);
    EXPECT_EQ(shifted.aligned.First(), 0);

    // Low contrast, so that the first grid, still at gain 1, settles on the true place.
    IntensityProfile relit = Reference(0.2);
    relit.ApplyLinear(10, 0, 2);
    const Alignment a = Align(relit, Reference(0.2), 1);
    EXPECT_NEAR(a.gain, 0.5, 1e-6);
    EXPECT_NEAR(a.offset, -5, 1e-4);
    EXPECT_NEAR(a.slope, 0, 1e-6);
    EXPECT_NEAR(a.cost, 0.0, 1e-4);
    for (int index = 0; index < 60; ++index)
        EXPECT_NEAR(relit.At(index), Reference(0.2).At(index), 1e-3);  // corrected in place
}

TEST(ProfileAlignment, FindsAScaleWithinAFineStepAndGivesUpOnHopelessProfiles)
{
    IntensityProfile stretched;  // the profile grown by 1.1 along its axis
    stretched.ResampleFrom(Reference(), 1 / 1.1, 0);
    const Alignment grown = Align(stretched, Reference());
    EXPECT_NEAR(grown.scale, 1.1, 0.006);
    EXPECT_LT(grown.cost, 2);

    IntensityProfile far(200, {50, 60, 70, 80});  // no candidate, no photometric correction
    const Alignment apart = Align(far, Reference());
    EXPECT_GE(apart.cost, kNoComparison);
    EXPECT_EQ(std::make_tuple(apart.scale, apart.shift, apart.gain), std::make_tuple(1.0, 0.0, 1.0));
    IntensityProfile flat(0, 59);  // a singular photometric fit leaves the identity
    const Alignment unlit = Align(flat, Reference());
    EXPECT_EQ(std::make_tuple(unlit.gain, unlit.offset, unlit.slope), std::make_tuple(1.0, 0.0, 0.0));
}

}  // namespace
