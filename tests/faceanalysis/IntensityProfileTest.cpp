#include "faceanalysis/IntensityProfile.h"

#include <gtest/gtest.h>
#include <opencv2/core.hpp>

#include <cmath>
#include <vector>

namespace {

std::vector<float> Samples(const IntensityProfile& profile)
{
    return std::vector<float>(profile.Values(), profile.Values() + profile.Count());
}

// An image whose red byte (the third) of pixel (x, y) is red(x, y); blue and green differ so
// that reading the wrong byte shows.
template <typename Red>
cv::Mat RedImage(int width, int height, Red red)
{
    cv::Mat image(height, width, CV_8UC3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.at<cv::Vec3b>(y, x) = cv::Vec3b(7, 9, static_cast<unsigned char>(red(x, y)));
    return image;
}

TEST(IntensityProfile, ConstructionOrdersIndicesAndZeroes)
{
    const IntensityProfile profile(7, 3);
    EXPECT_EQ(profile.First(), 3);
    EXPECT_EQ(profile.Last(), 7);
    EXPECT_EQ(profile.Count(), 5);
    EXPECT_EQ(Samples(profile), std::vector<float>(5, 0.0f));
}

TEST(IntensityProfile, RowAndColumnMeansOfTheRedByte)
{
    const cv::Mat image = RedImage(6, 4, [](int x, int y) { return 10 * y + x + 1; });
    const IntensityProfile rows = IntensityProfile::RowProfile(image, 4, 1, 1, 3, 3, 0);
    EXPECT_EQ(rows.First(), 1);
    EXPECT_EQ(rows.Last(), 3);
    // Row y over columns 1..4: mean of 10y + 2 .. 10y + 5.
    EXPECT_EQ(Samples(rows), (std::vector<float>{13.5f, 23.5f, 33.5f}));

    const IntensityProfile columns = IntensityProfile::ColumnProfile(image, 2, 3, 0, 3, 3, 0);
    EXPECT_EQ(columns.First(), 2);
    EXPECT_EQ(Samples(columns), (std::vector<float>{18.0f, 19.0f}));

    const IntensityProfile blue = IntensityProfile::ColumnProfile(image, 2, 3, 0, 3, 1, 0);
    EXPECT_EQ(Samples(blue), (std::vector<float>{7.0f, 7.0f}));
}

TEST(IntensityProfile, RegionPartlyOutsideTheImageIsClamped)
{
    const cv::Mat image = RedImage(5, 6, [](int, int y) { return 100 + y; });
    const IntensityProfile rows = IntensityProfile::RowProfile(image, -3, 10, -4, 20, 3, 0);
    EXPECT_EQ(rows.First(), 0);
    EXPECT_EQ(rows.Last(), 5);
    EXPECT_FLOAT_EQ(rows.At(5), 105.0f);
}

TEST(IntensityProfile, MaskedPixelsDoNotCountAndOnePixelIsTooFew)
{
    // Row 1 has a single non-black red byte: 1 counted pixel < MinProfilePixels.
    cv::Mat image(3, 4, CV_8UC3, cv::Scalar(0, 0, 50));
    image.row(1).setTo(cv::Scalar::all(0));
    image.at<cv::Vec3b>(1, 2) = cv::Vec3b(0, 0, 200);
    const IntensityProfile rows = IntensityProfile::RowProfile(image, 0, 3, 0, 2, 3, 0);
    EXPECT_EQ(Samples(rows), (std::vector<float>{50.0f, 50.0f, 50.0f}));

    // Summed channels: the one pixel counts three bytes, so the row is valid.
    image.at<cv::Vec3b>(1, 2) = cv::Vec3b(30, 60, 90);
    const IntensityProfile summed = IntensityProfile::RowProfile(image, 0, 3, 0, 2, 4, 0);
    EXPECT_EQ(Samples(summed), (std::vector<float>{50.0f / 3, 60.0f, 50.0f / 3}));
}

TEST(IntensityProfile, CropsToValidSpanAndRepeatsInnerInvalidRows)
{
    // Rows 0-2 invalid, 3-9 valid, 10 invalid, 11 valid, 12-13 invalid.
    cv::Mat image(14, 3, CV_8UC3, cv::Scalar::all(0));
    for (int y : {3, 4, 5, 6, 7, 8, 9, 11})
        image.row(y).setTo(cv::Scalar(1, 1, 10 + y));
    const IntensityProfile rows = IntensityProfile::RowProfile(image, 0, 2, 0, 13, 3, 0);
    EXPECT_EQ(rows.First(), 3);
    EXPECT_EQ(rows.Last(), 11);
    EXPECT_EQ(rows.Count(), 9);
    EXPECT_FLOAT_EQ(rows.At(9), 19.0f);
    EXPECT_FLOAT_EQ(rows.At(10), 19.0f);
    EXPECT_FLOAT_EQ(rows.At(11), 21.0f);
}

TEST(IntensityProfile, NoValidSampleGivesOneZeroAtTheRegionStart)
{
    const cv::Mat black(10, 10, CV_8UC3, cv::Scalar::all(0));
    const IntensityProfile rows = IntensityProfile::RowProfile(black, 2, 8, 4, 9, 3, 0);
    EXPECT_EQ(rows.First(), 4);
    EXPECT_EQ(rows.Count(), 1);
    EXPECT_FLOAT_EQ(rows.At(4), 0.0f);

    const IntensityProfile outside = IntensityProfile::ColumnProfile(black, 20, 30, 0, 9, 3, 0);
    EXPECT_EQ(outside.Count(), 1);
}

TEST(IntensityProfile, ExtractionRefillsInPlace)
{
    const cv::Mat image = RedImage(8, 8, [](int x, int) { return 20 + x; });
    IntensityProfile profile(0, 100);
    profile.ExtractColumns(image, 1, 6, 0, 7, 3, 0);
    EXPECT_EQ(profile.First(), 1);
    EXPECT_EQ(profile.Count(), 6);
    EXPECT_FLOAT_EQ(profile.At(6), 26.0f);
}

TEST(IntensityProfile, SetFirstReindexesWithoutCopying)
{
    IntensityProfile profile(2, {1.0f, 2.0f, 3.0f});
    const float* samples = profile.Values();
    profile.SetFirst(-5);
    EXPECT_EQ(profile.First(), -5);
    EXPECT_EQ(profile.Last(), -3);
    EXPECT_EQ(profile.Values(), samples);
    EXPECT_FLOAT_EQ(profile.At(-4), 2.0f);
}

TEST(IntensityProfile, ApplyLinearUsesAbsoluteIndices)
{
    IntensityProfile profile(10, {1.0f, 2.0f});
    profile.ApplyLinear(3.0, 0.5, 2.0);
    EXPECT_EQ(Samples(profile), (std::vector<float>{10 * 0.5f + 2 + 3, 11 * 0.5f + 4 + 3}));
}

TEST(IntensityProfile, ResampleAtUnitScaleReproducesTheSource)
{
    const IntensityProfile source(4, {3.0f, 8.0f, -1.0f, 6.5f, 2.0f});
    IntensityProfile copy;
    copy.ResampleFrom(source, 1.0, 0.0);
    EXPECT_EQ(copy.First(), 4);
    EXPECT_EQ(Samples(copy), Samples(source));
}

TEST(IntensityProfile, ResampleWithFractionalShiftAveragesPairsFurtherOn)
{
    const IntensityProfile source(10, {0.0f, 10.0f, 20.0f, 30.0f, 40.0f, 50.0f, 60.0f, 70.0f});
    IntensityProfile shifted;
    shifted.ResampleFrom(source, 1.0, 2.5);
    // floor(10 - 2.5 + 0.5) = 8 .. floor(17 - 2.5 + 0.5) = 15.
    EXPECT_EQ(shifted.First(), 8);
    EXPECT_EQ(shifted.Last(), 15);
    // Index 10 reads 12.5: the mean of source[12] and source[13].
    EXPECT_FLOAT_EQ(shifted.At(10), 25.0f);
    EXPECT_FLOAT_EQ(shifted.At(12), 45.0f);
    // Index 8 reads 10.5; index 15 reads 17.5, past the last sample, which holds there.
    EXPECT_FLOAT_EQ(shifted.At(8), 5.0f);
    EXPECT_FLOAT_EQ(shifted.At(15), 70.0f);
}

TEST(IntensityProfile, ResampleAtScaleStretchesTheIndexRange)
{
    const IntensityProfile source(0, {0.0f, 2.0f, 4.0f, 6.0f, 8.0f});
    IntensityProfile stretched;
    stretched.ResampleFrom(source, 0.5, 0.0);
    EXPECT_EQ(stretched.First(), 0);
    EXPECT_EQ(stretched.Last(), 8);
    EXPECT_FLOAT_EQ(stretched.At(3), 3.0f);
}

TEST(IntensityProfile, ResampleOfOneSampleHoldsItsValue)
{
    const IntensityProfile single(5, std::vector<float>{42.0f});
    IntensityProfile resampled;
    resampled.ResampleFrom(single, 0.9, 1.5);
    ASSERT_GE(resampled.Count(), 1);
    for (int k = 0; k < resampled.Count(); ++k)
        EXPECT_FLOAT_EQ(resampled.Values()[k], 42.0f);

    IntensityProfile self(3, std::vector<float>{7.0f});
    self.ResampleMapped(1.1, -0.5, 0.0, 0.0, 1.0);
    EXPECT_FLOAT_EQ(self.Values()[0], 7.0f);
}

TEST(IntensityProfile, ResampleMappedMapsEachResampledValue)
{
    IntensityProfile profile(2, {10.0f, 20.0f, 30.0f, 40.0f});
    IntensityProfile expected;
    expected.ResampleFrom(profile, 1.0, 0.5);
    profile.ResampleMapped(1.0, 0.5, 1.0, 2.0, 3.0);
    ASSERT_EQ(profile.First(), expected.First());
    ASSERT_EQ(profile.Count(), expected.Count());
    for (int index = profile.First(); index <= profile.Last(); ++index)
        EXPECT_FLOAT_EQ(profile.At(index), expected.At(index) * 3 + index * 2 + 1);
}

TEST(IntensityProfile, MeanAndUnbiasedVariance)
{
    double mean = -1;
    double variance = -1;
    IntensityProfile(0, {2.0f, 4.0f, 9.0f}).MeanAndVariance(mean, variance);
    EXPECT_DOUBLE_EQ(mean, 5.0);
    EXPECT_NEAR(variance, 13.0, 1e-12);

    IntensityProfile(0, {2.0f, 4.0f}).MeanAndVariance(mean, variance);
    EXPECT_EQ(mean, 0.0);
    EXPECT_EQ(variance, 0.0);
}

TEST(IntensityProfile, WeightedErrorOverTheOverlap)
{
    const IntensityProfile reference(0, {0.0f, 0.0f, 0.0f, 0.0f});
    const IntensityProfile weights(0, {1.0f, 2.0f, 4.0f, 8.0f});
    const IntensityProfile profile(2, {4.0f, 8.0f, 100.0f});
    // Overlap 2..3: (16 / 4 + 64 / 8) / 2.
    EXPECT_DOUBLE_EQ(IntensityProfile::WeightedError(profile, reference, weights), 6.0);
    EXPECT_DOUBLE_EQ(IntensityProfile::RootError(profile, reference, weights), std::sqrt(6.0));

    const IntensityProfile apart(4, std::vector<float>{1.0f});
    EXPECT_EQ(IntensityProfile::WeightedError(apart, reference, weights), NoComparison);
}

TEST(IntensityProfile, OverlapPenaltyNeedsThreeIndices)
{
    const IntensityProfile reference(0, std::vector<float>(6, 1.0f));
    EXPECT_DOUBLE_EQ(IntensityProfile::OverlapPenalty(reference, reference), 1.0);
    // Half the reference covered.
    EXPECT_DOUBLE_EQ(IntensityProfile::OverlapPenalty(IntensityProfile(3, {1, 1, 1, 1}), reference),
                     std::exp(0.75));
    EXPECT_EQ(IntensityProfile::OverlapPenalty(IntensityProfile(4, {1, 1, 1}), reference),
              NoComparison);
    EXPECT_DOUBLE_EQ(IntensityProfile::OverlapPenalty(IntensityProfile(-4, std::vector<float>(7, 1)),
                                                      reference),
                     std::exp(0.75));
    EXPECT_EQ(IntensityProfile::OverlapPenalty(IntensityProfile(9, {1, 1, 1}), reference),
              NoComparison);
}

} // namespace
