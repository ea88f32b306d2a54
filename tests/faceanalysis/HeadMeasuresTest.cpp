#include "faceanalysis/CFaceModel.h"
#include "faceanalysis/CTrackedFace.h"
#include "faceanalysis/HeadMeasures.h"
#include "faceanalysis/IntensityProfile.h"
#include "faceanalysis/MotionSampleSink.h"

#include "FaceTestFrames.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Eye columns 10 and 30 of a 40-column band; eye row 10 and mouth row 30 of 40 rows.
constexpr int LeftEye = 10;
constexpr int RightEye = 30;
constexpr int EyeRow = 10;
constexpr int MouthRow = 30;

// Flat grey 100 with a bump (120, 150, 120) centred at index peak.
IntensityProfile Bump(int first, int count, int peak, float offset = 0.0f)
{
    std::vector<float> values(count, 100.0f + offset);
    values[peak - first - 1] = 120.0f + offset;
    values[peak - first] = 150.0f + offset;
    values[peak - first + 1] = 120.0f + offset;
    return IntensityProfile(first, std::move(values));
}

HeadMeasures Calibrated(int columnPeak, int rowPeak)
{
    HeadMeasures measures;
    measures.Calibrate(Bump(0, 40, columnPeak), LeftEye, RightEye, Bump(0, 40, rowPeak), EyeRow,
                       MouthRow);
    return measures;
}

TEST(HeadMeasures, CalibrationFindsThePeaksRelativeToEyeColumnAndEyeRow)
{
    const HeadMeasures measures = Calibrated(18, 21);
    EXPECT_EQ(measures.ReferenceColumn(), 8);
    EXPECT_EQ(measures.ReferenceRow(), 11);
    // Smoothed: 0.1 * (100 + 2 * 120 + 4 * 150 + 2 * 120 + 100) in single precision.
    EXPECT_EQ(measures.ReferenceColumnValue(), 0.1f * 1280.0f);
}

TEST(HeadMeasures, SameProfilesMeasureZero)
{
    HeadMeasures measures = Calibrated(18, 21);
    EXPECT_EQ(measures.MeasureYaw(Bump(0, 40, 18), LeftEye, RightEye), 0);
    EXPECT_EQ(measures.MeasurePitch(Bump(0, 40, 21), EyeRow, MouthRow), 0);
}

TEST(HeadMeasures, PeakMovedTwoColumnsRightGivesMinusTwo)
{
    HeadMeasures measures = Calibrated(18, 21);
    EXPECT_EQ(measures.MeasureYaw(Bump(0, 40, 20), LeftEye, RightEye), -2);
    EXPECT_EQ(measures.MeasureYaw(Bump(0, 40, 15), LeftEye, RightEye), 3);
    // Indices are absolute: the same peak in a profile that starts elsewhere.
    EXPECT_EQ(measures.MeasureYaw(Bump(-7, 50, 18), LeftEye, RightEye), 0);
}

TEST(HeadMeasures, PitchIsTheDarkeningAtTheCalibratedRowTruncated)
{
    HeadMeasures measures = Calibrated(18, 21);
    EXPECT_EQ(measures.MeasurePitch(Bump(0, 40, 21, -12.7f), EyeRow, MouthRow), 12);
    EXPECT_EQ(measures.MeasurePitch(Bump(0, 40, 21, 12.7f), EyeRow, MouthRow), -12);
    // The row peak itself moving does not matter: only the calibrated row is read.
    EXPECT_EQ(measures.MeasurePitch(Bump(0, 40, 25), EyeRow, MouthRow), 28);
}

TEST(HeadMeasures, EqualPeaksTheFirstWins)
{
    std::vector<float> values(40, 100.0f);
    values[14] = values[24] = 200.0f;
    HeadMeasures measures;
    const IntensityProfile twin(0, values);
    measures.Calibrate(twin, LeftEye, RightEye, twin, EyeRow, MouthRow);
    EXPECT_EQ(measures.ReferenceColumn(), 4);
    EXPECT_EQ(measures.ReferenceRow(), 4);
}

TEST(HeadMeasures, EntirelyBlackEyeBandMeasuresNoYaw)
{
    HeadMeasures measures = Calibrated(18, 21);
    const IntensityProfile black(0, std::vector<float>(40, 0.0f));
    EXPECT_EQ(measures.MeasureYaw(black, LeftEye, RightEye), 0);
}

TEST(HeadMeasures, LargeFaceNeedsNoFixedBuffer)
{
    // A 1280 x 720 close-up: 600 columns between the eyes, 400 rows from eyes to mouth.
    HeadMeasures measures;
    measures.Calibrate(Bump(0, 900, 640), 100, 700, Bump(0, 700, 500), 150, 550);
    EXPECT_EQ(measures.ReferenceColumn(), 540);
    EXPECT_EQ(measures.ReferenceRow(), 350);
    EXPECT_EQ(measures.MeasureYaw(Bump(0, 900, 645), 100, 700), -5);
    EXPECT_EQ(measures.MeasurePitch(Bump(0, 700, 500, -20.0f), 150, 550), 20);
}

TEST(HeadMeasures, ProfilesShorterThanTheSpanAreReadWithinBounds)
{
    HeadMeasures measures = Calibrated(18, 21);
    // A tracked band cut by the frame border: it covers only columns 16..22.
    EXPECT_EQ(measures.MeasureYaw(Bump(16, 7, 19), LeftEye, RightEye), -1);
    EXPECT_EQ(measures.MeasurePitch(IntensityProfile(0, std::vector<float>{10.0f}), EyeRow, MouthRow),
              118);
}

struct NullSink : MotionSampleSink {
    void AddSample(float, float, float, float, float, float) override {}
};

TEST(HeadMeasures, TrackedPortraitStandingStillMeasuresZero)
{
    using namespace facetest;
    ASSERT_FALSE(Portrait().empty());
    const FacePoints start = StartPoints(FaceBox);
    const cv::Rect region = SearchRegion(FaceBox);
    const FaceEllipse ellipse(region.x, region.y, region.br().x, region.br().y);
    CFaceModel model;
    model.Analyse(Portrait(), int(start.eye1.x), int(start.eye1.y), int(start.eye2.x),
                  int(start.eye2.y), int(start.mouth.x), int(start.mouth.y), ellipse);
    CTrackedFace face(int(start.eye1.x), int(start.eye1.y), int(start.eye2.x), int(start.eye2.y),
                      int(start.mouth.x), int(start.mouth.y), ellipse);
    face.SetFaceModel(&model);

    HeadMeasures measures;
    measures.Calibrate(model);
    EXPECT_GT(measures.ReferenceColumnValue(), 50.0f);
    NullSink sink;
    double cost = 0;
    ASSERT_TRUE(face.Update(sink, Portrait(), cost, 12.0));
    EXPECT_EQ(measures.MeasureYaw(face, model), 0);
    EXPECT_EQ(measures.MeasurePitch(face, model), 0);
}

} // namespace
