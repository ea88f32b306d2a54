#include "tracking/FaceDetector.h"
#include "tracking/FacePlacement.h"

#include "platform/MessageBox.h"
#include "tests/tracking/HeadScenes.h"

#include <gtest/gtest.h>

#include <stdlib.h>

using namespace headscenes;

TEST(FacePlacement, PointsAndSearchRegionInTheirPrecisions)
{
    const cv::Rect face(10, 20, 30, 40);
    // Normal mode: found on the half-size image.
    const FacePlacement half = FacePlacement::ForNewFace(face, 2);
    EXPECT_EQ(half.points, (std::array<float, 6>{38.6f, 72.0f, 61.4f, 72.0f, 50.0f, 102.4f}));
    EXPECT_EQ(half.wholePoints, (std::array<int, 6>{38, 72, 61, 72, 50, 102}));
    EXPECT_EQ(std::make_tuple(half.insetX, half.insetY, half.left, half.top, half.right, half.bottom),
              std::make_tuple(9.0f, 4.8f, 29, 44, 71, 115));
    // Precise mode: both insets follow the width, the region's sides are truncated.
    const FacePlacement full = FacePlacement::ForNewFace(face, 1);
    EXPECT_EQ(std::make_tuple(full.insetX, full.insetY, full.left, full.top, full.right, full.bottom),
              std::make_tuple(4.5f, 2.4f, 14, 22, 35, 57));
    // Found again: points and insets truncated first.
    const FacePlacement again = FacePlacement::ForFoundAgain(face, 1);
    EXPECT_EQ(again.wholePoints, (std::array<int, 6>{19, 36, 30, 36, 25, 51}));
    EXPECT_EQ(std::make_tuple(again.insetX, again.insetY, again.left, again.top, again.right, again.bottom),
              std::make_tuple(4.0f, 2.0f, 14, 22, 36, 58));
    EXPECT_EQ(FacePlacement::ForFoundAgain(face, 2).bottom, 116);
    // (0.69 x 150) x 2 is 206.99999999999997 in double precision, 207 once rounded to float.
    EXPECT_EQ(FacePlacement::ForNewFace(cv::Rect(0, 0, 150, 150), 2).wholePoints[2], 207);
    EXPECT_EQ(FacePlacement::ForFoundAgain(cv::Rect(0, 0, 150, 150), 2).wholePoints[2], 206);
}

TEST(FaceDetector, AMissingOrUnreadableCascadeIsReportedOnceAndFindsNothing)
{
    ::unsetenv(FaceDetector::kCascadeVariable);
    EXPECT_EQ(FaceDetector::CascadeFile(), FaceDetector::kDefaultCascadeFile);
    for (const std::string file : {"/nonexistent/caras.xml", BRUMARIA_SOURCE_DIR "/tests/data/astronaut.png"}) {
        ::setenv(FaceDetector::kCascadeVariable, file.c_str(), 1);
        MessageCapture messages;
        FaceDetector detector;
        EXPECT_TRUE(detector.Detect(FaceFrame(), false).empty());
        EXPECT_TRUE(detector.Detect(FaceFrame(), true).empty());
        ASSERT_EQ(messages.Messages().size(), 1u) << file;
        EXPECT_EQ(messages.Messages()[0].caption, kApplicationTitle);
        EXPECT_NE(messages.Messages()[0].text.find(file), std::string::npos);
    }
    ::unsetenv(FaceDetector::kCascadeVariable);
}

TEST(FaceDetector, NormalModeSearchesAtHalfSizePreciseModeAtFullSize)
{
    MessageCapture messages;
    FaceDetector detector;
    const std::vector<cv::Rect> half = detector.Detect(FaceFrame(), false);
    // The full frame may give a stray rectangle on the suit too, with fewer neighbours.
    const std::vector<cv::Rect> full = detector.Detect(FaceFrame(), true);
    ASSERT_EQ(half.size(), 1u);
    ASSERT_GE(full.size(), 1u);
    EXPECT_TRUE(messages.Messages().empty());
    // The face is 160 pixels wide around (320, 210).
    const auto centre = [](const cv::Rect& r, bool precise) {
        return cv::Point2d(r.tl() + r.br()) * (0.5 * FaceDetector::Scale(precise));
    };
    EXPECT_LT(cv::norm(centre(half[0], false) - cv::Point2d(320, 210)), 16.0);
    EXPECT_LT(cv::norm(centre(full[0], true) - cv::Point2d(320, 210)), 8.0);
    EXPECT_NEAR(half[0].width * 2.0, full[0].width, 0.2 * full[0].width);

    // No face in a wall; the result is reused, so results never pile up.
    const std::vector<cv::Rect>& first = detector.Detect(FaceFrame(), false);
    EXPECT_EQ(&detector.Detect(WallFrame(), false), &first);
    EXPECT_TRUE(first.empty());
    EXPECT_TRUE(detector.Detect(WallFrame(), true).empty());
}
