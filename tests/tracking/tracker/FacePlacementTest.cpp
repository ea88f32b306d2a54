#include "tracking/FacePlacement.h"

#include <gtest/gtest.h>

namespace {

const cv::Rect kFace(10, 20, 30, 40);

}

TEST(FacePlacement, NewFaceOnTheHalfSizeImageScalesByTwo)
{
    const FacePlacement place = FacePlacement::ForNewFace(kFace, 2);
    EXPECT_FLOAT_EQ(place.points[0], 38.6f);
    EXPECT_FLOAT_EQ(place.points[1], 72.0f);
    EXPECT_FLOAT_EQ(place.points[2], 61.4f);
    EXPECT_FLOAT_EQ(place.points[3], 72.0f);
    EXPECT_FLOAT_EQ(place.points[4], 50.0f);
    EXPECT_FLOAT_EQ(place.points[5], 102.4f);
    EXPECT_EQ(place.wholePoints, (std::array<int, 6>{38, 72, 61, 72, 50, 102}));
    // Insets 9 and 4.8 on the rectangle (20, 40) - (80, 120).
    EXPECT_FLOAT_EQ(place.insetX, 9.0f);
    EXPECT_FLOAT_EQ(place.insetY, 4.8f);
    EXPECT_EQ(place.left, 29);
    EXPECT_EQ(place.top, 44);
    EXPECT_EQ(place.right, 71);
    EXPECT_EQ(place.bottom, 115);
}

TEST(FacePlacement, NewFaceOnTheFullFrameKeepsItsPixels)
{
    const FacePlacement place = FacePlacement::ForNewFace(kFace, 1);
    EXPECT_FLOAT_EQ(place.points[0], 19.3f);
    EXPECT_FLOAT_EQ(place.points[1], 36.0f);
    EXPECT_FLOAT_EQ(place.points[2], 30.7f);
    EXPECT_FLOAT_EQ(place.points[3], 36.0f);
    EXPECT_FLOAT_EQ(place.points[4], 25.0f);
    EXPECT_FLOAT_EQ(place.points[5], 51.2f);
    EXPECT_EQ(place.wholePoints, (std::array<int, 6>{19, 36, 30, 36, 25, 51}));
    // Both insets follow the width: 0.15 x 30 and 0.08 x 30.
    EXPECT_FLOAT_EQ(place.insetX, 4.5f);
    EXPECT_FLOAT_EQ(place.insetY, 2.4f);
    EXPECT_EQ(place.left, 14);    // 14.5
    EXPECT_EQ(place.top, 22);     // 22.4
    EXPECT_EQ(place.right, 35);   // 35.5
    EXPECT_EQ(place.bottom, 57);  // 57.6
}

TEST(FacePlacement, FaceFoundAgainTruncatesPointsAndInsetsFirst)
{
    const FacePlacement place = FacePlacement::ForFoundAgain(kFace, 1);
    EXPECT_EQ(place.wholePoints, (std::array<int, 6>{19, 36, 30, 36, 25, 51}));
    EXPECT_FLOAT_EQ(place.insetX, 4.0f);
    EXPECT_FLOAT_EQ(place.insetY, 2.0f);
    EXPECT_EQ(place.left, 14);
    EXPECT_EQ(place.top, 22);
    EXPECT_EQ(place.right, 36);
    EXPECT_EQ(place.bottom, 58);

    const FacePlacement half = FacePlacement::ForFoundAgain(kFace, 2);
    EXPECT_EQ(half.wholePoints, (std::array<int, 6>{38, 72, 61, 72, 50, 102}));
    EXPECT_EQ(half.left, 29);
    EXPECT_EQ(half.top, 44);
    EXPECT_EQ(half.right, 71);
    EXPECT_EQ(half.bottom, 116);
}

TEST(FacePlacement, SinglePrecisionAndDoublePrecisionTruncateDifferently)
{
    // (0 + 0.69 x 150) x 2 is 206.99999999999997 in double precision, 207 once rounded to float.
    const cv::Rect face(0, 0, 150, 150);
    EXPECT_EQ(FacePlacement::ForNewFace(face, 2).wholePoints[2], 207);
    EXPECT_EQ(FacePlacement::ForFoundAgain(face, 2).wholePoints[2], 206);
}
