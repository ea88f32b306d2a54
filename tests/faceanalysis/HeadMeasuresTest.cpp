#include "faceanalysis/HeadMeasures.h"
#include "faceanalysis/IntensityProfile.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Flat grey 100 (plus offset) with a bump 120, 150, 120 centred at index peak.
IntensityProfile Bump(int first, int count, int peak, float offset = 0.0f)
{
    std::vector<float> values(count, 100 + offset);
    values[peak - first - 1] = values[peak - first + 1] = 120 + offset;
    values[peak - first] = 150 + offset;
    return IntensityProfile(first, std::move(values));
}

TEST(HeadMeasures, YawCountsColumnsThePeakMovedLeftPitchTheDarkeningAtTheCalibratedRowWithoutAFixedBuffer)
{
    // Eye columns 10 and 30 of a 40-column band, the peak at 18; eye row 10, mouth row 30, peak at 21.
    HeadMeasures measures;
    measures.Calibrate(Bump(0, 40, 18), 10, 30, Bump(0, 40, 21), 10, 30);
    EXPECT_EQ(std::pair(measures.ReferenceColumn(), measures.ReferenceRow()), std::pair(8, 11));
    // Smoothed: 0.1 * (100 + 2 * 120 + 4 * 150 + 2 * 120 + 100) in single precision.
    EXPECT_EQ(measures.ReferenceColumnValue(), 0.1f * 1280.0f);
    const auto yaw = [&](const IntensityProfile& columns) { return measures.MeasureYaw(columns, 10, 30); };
    EXPECT_EQ((std::vector<int>{yaw(Bump(0, 40, 18)), yaw(Bump(0, 40, 20)), yaw(Bump(0, 40, 15)), yaw(Bump(-7, 50, 18)),
                                yaw(Bump(16, 7, 19)), yaw(IntensityProfile(0, 39))}),
              (std::vector<int>{0, -2, 3, 0, -1, 0}));  // absolute indices; a band cut short; all black
    const auto pitch = [&](const IntensityProfile& rows) { return measures.MeasurePitch(rows, 10, 30); };
    EXPECT_EQ((std::vector<int>{pitch(Bump(0, 40, 21)), pitch(Bump(0, 40, 21, -12.7f)), pitch(Bump(0, 40, 21, 12.7f)),
                                pitch(Bump(0, 40, 25)), pitch(IntensityProfile(0, std::vector<float>{10}))}),
              (std::vector<int>{0, 12, -12, 28, 118}));  // truncated; only the calibrated row is read

    std::vector<float> values(40, 100.0f);  // of equal peaks the first wins
    values[14] = values[24] = 200.0f;
    measures.Calibrate(IntensityProfile(0, values), 10, 30, IntensityProfile(0, values), 10, 30);
    EXPECT_EQ(std::pair(measures.ReferenceColumn(), measures.ReferenceRow()), std::pair(4, 4));
    // A 1280 x 720 close-up: 600 columns between the eyes, 400 rows from eyes to mouth.
    measures.Calibrate(Bump(0, 900, 640), 100, 700, Bump(0, 700, 500), 150, 550);
    EXPECT_EQ(std::pair(measures.ReferenceColumn(), measures.ReferenceRow()), std::pair(540, 350));
    EXPECT_EQ(measures.MeasureYaw(Bump(0, 900, 645), 100, 700), -5);
    EXPECT_EQ(measures.MeasurePitch(Bump(0, 700, 500, -20.0f), 150, 550), 20);
}

}  // namespace
