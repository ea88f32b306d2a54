#include "faceanalysis/IntensityProfile.h"

#include <gtest/gtest.h>
#include <opencv2/core.hpp>

#include <cmath>
#include <tuple>
#include <vector>

using Floats = std::vector<float>;

// The first index, then the samples.
static Floats Indexed(const IntensityProfile& profile)
{
    EXPECT_EQ(profile.Last(), profile.First() + profile.Count() - 1);
    Floats indexed{static_cast<float>(profile.First())};
    indexed.insert(indexed.end(), profile.Values(), profile.Values() + profile.Count());
    return indexed;
}

TEST(IntensityProfile, MeansOfOneByteOverTheClampedRegionWithoutMaskedBytesAndInvalidRowsRepeatedOrCropped)
{
    // Red byte (the third) 10 y + x + 1; blue and green differ, so reading the wrong byte shows.
    cv::Mat image(4, 6, CV_8UC3);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            image.at<cv::Vec3b>(y, x) = cv::Vec3b(7, 9, static_cast<unsigned char>(10 * y + x + 1));
    EXPECT_EQ(Indexed(IntensityProfile::RowProfile(image, 4, 1, 1, 3, 3, 0)), (Floats{1, 13.5f, 23.5f, 33.5f}));
    EXPECT_EQ(Indexed(IntensityProfile::ColumnProfile(image, 2, 3, -5, 9, 3, 0)), (Floats{2, 18, 19}));
    EXPECT_EQ(Indexed(IntensityProfile::ColumnProfile(image, 2, 3, 0, 3, 1, 0)), (Floats{2, 7, 7}));

    // kMinProfilePixels counted bytes make a valid row, fewer repeat the one before; channel 4 counts 3 a pixel.
    image = cv::Mat(5, 4, CV_8UC3, cv::Scalar(0, 0, 50));
    image.rowRange(1, 4).setTo(cv::Scalar::all(0));
    image.at<cv::Vec3b>(1, 1) = image.at<cv::Vec3b>(1, 2) = cv::Vec3b(0, 0, 200);
    image.at<cv::Vec3b>(2, 2) = cv::Vec3b(30, 60, 90);
    EXPECT_EQ(Indexed(IntensityProfile::RowProfile(image, 0, 3, 0, 4, 3, 0)), (Floats{0, 50, 200, 200, 200, 50}));
    EXPECT_EQ(Indexed(IntensityProfile::RowProfile(image, 0, 3, 0, 4, 4, 0)),
              (Floats{0, 50.0f / 3, 200.0f / 3, 60, 60, 50.0f / 3}));

    // Rows 0-2 invalid, 3-9 valid, 10 invalid, 11 valid, 12-13 invalid.
    cv::Mat rows(14, 3, CV_8UC3, cv::Scalar::all(0));
    for (int y : {3, 4, 5, 6, 7, 8, 9, 11})
        rows.row(y).setTo(cv::Scalar(1, 1, 10 + y));
    EXPECT_EQ(Indexed(IntensityProfile::RowProfile(rows, 0, 2, 0, 13, 3, 0)),
              (Floats{3, 13, 14, 15, 16, 17, 18, 19, 19, 21}));
    // No valid sample: a single 0 at the region's first index.
    EXPECT_EQ(Indexed(IntensityProfile::RowProfile(rows, 0, 2, 12, 13, 3, 0)), (Floats{12, 0}));
    EXPECT_EQ(Indexed(IntensityProfile::ColumnProfile(rows, 20, 30, 0, 9, 3, 0)), (Floats{20, 0}));
}

TEST(IntensityProfile, ResamplesByLinearInterpolationHoldingTheEndSamplesAndReindexesWithoutCopying)
{
    const IntensityProfile source(10, {0, 10, 20, 30, 40, 50, 60, 70});
    IntensityProfile resampled;
    resampled.ResampleFrom(source, 1.0, 0.0);
    EXPECT_EQ(Indexed(resampled), Indexed(source));
    // floor(10 - 2.5 + 0.5) = 8 .. 15; index 8 reads 10.5, index 15 reads 17.5 past the end.
    resampled.ResampleFrom(source, 1.0, 2.5);
    EXPECT_EQ(Indexed(resampled), (Floats{8, 5, 15, 25, 35, 45, 55, 65, 70}));
    resampled.ResampleFrom(IntensityProfile(0, {0, 2, 4}), 0.5, 0.0);
    EXPECT_EQ(Indexed(resampled), (Floats{0, 0, 1, 2, 3, 4}));
    resampled.ResampleFrom(IntensityProfile(5, Floats{42}), 0.9, 1.5);  // one sample holds everywhere
    EXPECT_EQ(Indexed(resampled), (Floats{4, 42}));

    IntensityProfile mapped(2, {10, 20, 30, 40});
    const float* samples = mapped.Values();
    mapped.SetFirst(-5);
    mapped.ApplyLinear(3.0, 0.5, 2.0);  // at absolute indices
    EXPECT_EQ(Indexed(mapped), (Floats{-5, 20.5f, 41, 61.5f, 82}));
    EXPECT_EQ(mapped.Values(), samples);
    resampled.ResampleFrom(mapped, 1.0, 0.5);
    resampled.ApplyLinear(1.0, 2.0, 3.0);
    mapped.ResampleMapped(1.0, 0.5, 1.0, 2.0, 3.0);
    EXPECT_EQ(Indexed(mapped), Indexed(resampled));
}

TEST(IntensityProfile, VarianceErrorAndOverlapPenalty)
{
    double mean[2], variance[2];
    IntensityProfile(0, {2, 4, 9}).MeanAndVariance(mean[0], variance[0]);
    IntensityProfile(0, {2, 4}).MeanAndVariance(mean[1], variance[1]);
    EXPECT_EQ(std::make_tuple(mean[0], mean[1], variance[1]), std::make_tuple(5.0, 0.0, 0.0));
    EXPECT_NEAR(variance[0], 13, 1e-12);  // unbiased

    const IntensityProfile reference(0, 5);
    const IntensityProfile weights(0, {1, 1, 4, 8, 1, 1});
    // Overlap 2..3: (16 / 4 + 64 / 8) / 2.
    EXPECT_DOUBLE_EQ(IntensityProfile::RootError(IntensityProfile(2, {4, 8}), reference, weights), std::sqrt(6.0));
    EXPECT_EQ(IntensityProfile::WeightedError(IntensityProfile(6, Floats{1}), reference, weights), kNoComparison);
    // The whole reference covered, three of its six indices, only two.
    EXPECT_DOUBLE_EQ(IntensityProfile::OverlapPenalty(reference, reference), 1.0);
    EXPECT_DOUBLE_EQ(IntensityProfile::OverlapPenalty(IntensityProfile(-4, 2), reference), std::exp(0.75));
    EXPECT_EQ(IntensityProfile::OverlapPenalty(IntensityProfile(4, 9), reference), kNoComparison);
}
