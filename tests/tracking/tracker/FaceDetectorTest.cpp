#include "tracking/FaceDetector.h"

#include "platform/MessageBox.h"
#include "tests/tracking/HeadScenes.h"
#include "tests/tracking/ScopedEnvironment.h"

#include <gtest/gtest.h>

using namespace headscenes;

TEST(FaceDetector, LooksForOpenCvsFrontalFaceCascadeUnlessTold)
{
    {
        ScopedEnvironment unset(FaceDetector::kCascadeVariable, std::nullopt);
        EXPECT_EQ(FaceDetector::CascadeFile(),
                  "/usr/share/opencv4/haarcascades/haarcascade_frontalface_default.xml");
    }
    ScopedEnvironment chosen(FaceDetector::kCascadeVariable, std::string("/opt/caras.xml"));
    EXPECT_EQ(FaceDetector::CascadeFile(), "/opt/caras.xml");
}

TEST(FaceDetector, MissingCascadeIsReportedOnceAndFindsNothing)
{
    ScopedEnvironment missing(FaceDetector::kCascadeVariable, std::string("/nonexistent/caras.xml"));
    MessageCapture messages;
    FaceDetector detector;
    EXPECT_TRUE(detector.Detect(FaceFrame(), false).empty());
    EXPECT_TRUE(detector.Detect(FaceFrame(), true).empty());
    EXPECT_FALSE(detector.Ready());
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0].caption, "Brumaria");
    EXPECT_NE(messages.Messages()[0].text.find("/nonexistent/caras.xml"), std::string::npos);
}

TEST(FaceDetector, UnreadableCascadeIsReportedToo)
{
    const std::string notACascade = BRUMARIA_SOURCE_DIR "/tests/data/astronaut.png";
    ScopedEnvironment wrong(FaceDetector::kCascadeVariable, notACascade);
    MessageCapture messages;
    FaceDetector detector;
    EXPECT_TRUE(detector.Detect(FaceFrame(), false).empty());
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_NE(messages.Messages()[0].text.find(notACascade), std::string::npos);
}

TEST(FaceDetector, NormalModeFindsTheFaceAtHalfSizePreciseModeAtFullSize)
{
    MessageCapture messages;
    FaceDetector detector;
    const cv::Mat frame = FaceFrame();

    const std::vector<cv::Rect> half = detector.Detect(frame, false);
    ASSERT_EQ(half.size(), 1u);
    // The full frame also gives a stray rectangle on the suit, with fewer neighbours.
    const std::vector<cv::Rect> full = detector.Detect(frame, true);
    ASSERT_GE(full.size(), 1u);
    EXPECT_TRUE(messages.Messages().empty());

    // The face is 160 pixels wide around (320, 210) in the frame.
    const cv::Point2d halfCentre = (half[0].tl() + half[0].br()) * 0.5;
    const cv::Point2d fullCentre = (full[0].tl() + full[0].br()) * 0.5;
    EXPECT_NEAR(halfCentre.x * FaceDetector::Scale(false), 320.0, 16.0);
    EXPECT_NEAR(halfCentre.y * FaceDetector::Scale(false), 210.0, 16.0);
    EXPECT_NEAR(fullCentre.x * FaceDetector::Scale(true), 320.0, 8.0);
    EXPECT_NEAR(fullCentre.y * FaceDetector::Scale(true), 210.0, 8.0);
    EXPECT_NEAR(half[0].width * 2.0, full[0].width, 0.2 * full[0].width);
}

TEST(FaceDetector, FindsNoFaceInAWallAndKeepsNoEarlierResult)
{
    FaceDetector detector;
    const std::vector<cv::Rect>& first = detector.Detect(FaceFrame(), false);
    ASSERT_EQ(first.size(), 1u);
    const std::vector<cv::Rect>& second = detector.Detect(WallFrame(), false);
    EXPECT_EQ(&first, &second);
    EXPECT_TRUE(second.empty());
    EXPECT_TRUE(detector.Detect(WallFrame(), true).empty());
}
