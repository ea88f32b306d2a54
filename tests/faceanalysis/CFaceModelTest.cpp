#include "faceanalysis/CFaceModel.h"

#include <gtest/gtest.h>
#include <opencv2/core.hpp>

namespace {

// A 200 x 160 frame: a textured face-sized patch around (100, 80) and a marked centre pixel.
cv::Mat SyntheticFrame()
{
    cv::Mat frame(160, 200, CV_8UC3);
    for (int y = 0; y < frame.rows; ++y)
        for (int x = 0; x < frame.cols; ++x)
            frame.at<cv::Vec3b>(y, x) = cv::Vec3b(x % 250 + 1, y % 250 + 1, (x + 2 * y) % 200 + 30);
    frame.at<cv::Vec3b>(80, 100) = cv::Vec3b(11, 22, 233);
    return frame;
}

// Semi-axes 40 and 50 centred at (100, 80), eyes level at row 70, mouth at (100, 105).
class LevelModel : public ::testing::Test {
protected:
    void SetUp() override
    {
        model.Analyse(frame, 85, 70, 115, 70, 100, 105,
                      FaceEllipse(100.0, 80.0, 40.0, 50.0, 0.0));
    }
    cv::Mat frame = SyntheticFrame();
    CFaceModel model;
};

TEST(CFaceModel, NewModelIsEmpty)
{
    const CFaceModel model;
    EXPECT_EQ(model.FeatureCount(), 3);
    EXPECT_FALSE(model.ModelEllipse().has_value());
    EXPECT_TRUE(model.FaceImage().empty());
    EXPECT_EQ(model.Width(), 0);
}

TEST_F(LevelModel, PictureSizeComesFromTheEllipse)
{
    EXPECT_EQ(model.Width(), 81);
    EXPECT_EQ(model.Height(), 101);
    EXPECT_EQ(model.XMax(), 80);
    EXPECT_EQ(model.YMax(), 100);
    EXPECT_EQ(model.FaceImage().size(), cv::Size(81, 101));
    EXPECT_EQ(model.MaskImage().size(), cv::Size(81, 101));
    ASSERT_TRUE(model.ModelEllipse().has_value());
    EXPECT_DOUBLE_EQ(model.ModelEllipse()->centreX, 40.0);
    EXPECT_DOUBLE_EQ(model.ModelEllipse()->centreY, 50.0);
}

TEST_F(LevelModel, LevelEyesTranslateTheFaceCentreToThePictureMiddle)
{
    const double* n = model.Normalise();
    EXPECT_DOUBLE_EQ(n[0], 1.0);
    EXPECT_DOUBLE_EQ(n[1], 0.0);
    EXPECT_DOUBLE_EQ(n[2], -60.0);
    EXPECT_DOUBLE_EQ(n[5], -30.0);
    EXPECT_EQ(model.FaceImage().at<cv::Vec3b>(50, 40), cv::Vec3b(11, 22, 233));
    EXPECT_EQ(model.WarpImage().at<cv::Vec3b>(3, 2), frame.at<cv::Vec3b>(33, 62));
}

TEST_F(LevelModel, OutsideTheEllipseIsBlack)
{
    EXPECT_EQ(model.FaceImage().at<cv::Vec3b>(0, 0), cv::Vec3b(0, 0, 0));
    EXPECT_EQ(model.FaceImage().at<cv::Vec3b>(50, 75), frame.at<cv::Vec3b>(80, 135));
    EXPECT_EQ(model.FaceImage().at<cv::Vec3b>(2, 2), cv::Vec3b(0, 0, 0));
    EXPECT_EQ(model.MaskImage().at<cv::Vec3b>(50, 40), cv::Vec3b(255, 255, 255));
}

TEST_F(LevelModel, FeaturesAndBandsAtTheirFixedProportions)
{
    EXPECT_EQ(model.FeatureX(0), 25);
    EXPECT_EQ(model.FeatureY(0), 40);
    EXPECT_EQ(model.FeatureX(1), 55);
    EXPECT_EQ(model.FeatureX(2), 40);
    EXPECT_EQ(model.FeatureY(2), 75);
    // Frame points stay in slot 3.
    EXPECT_EQ(model.FeatureX(3), 100);
    EXPECT_EQ(model.FeatureY(3), 105);

    // Height 101: hy = 5 + 1; the eye band reaches twice as far up.
    EXPECT_EQ(model.EyeRow(), 40);
    EXPECT_EQ(model.EyeBandTop(), 28);
    EXPECT_EQ(model.EyeBandBottom(), 46);
    EXPECT_EQ(model.MouthRow(), 75);
    EXPECT_EQ(model.MouthBandTop(), 69);
    EXPECT_EQ(model.MouthBandBottom(), 81);
    // Width 81: hx = 5 + 1 and hm = 14 + 1.
    EXPECT_EQ(model.LeftEyeFrom(), 19);
    EXPECT_EQ(model.LeftEyeTo(), 31);
    EXPECT_EQ(model.RightEyeFrom(), 49);
    EXPECT_EQ(model.RightEyeTo(), 61);
    EXPECT_EQ(model.MouthFrom(), 25);
    EXPECT_EQ(model.MouthTo(), 55);
    // d = 15: rows 40 - 22 .. 40 + 15.
    EXPECT_EQ(model.EyeRefineTop(), 18);
    EXPECT_EQ(model.EyeRefineBottom(), 55);
}

TEST_F(LevelModel, ReferenceProfilesAndWeights)
{
    const IntensityProfile& rows = model.RowReference();
    EXPECT_EQ(rows.First(), 0);
    EXPECT_EQ(rows.Last(), 100);
    // Row 50 inside the ellipse: the red byte of frame row 80, columns 60..140.
    double sum = 0;
    int counted = 0;
    for (int x = 61; x <= 139; ++x) {
        sum += frame.at<cv::Vec3b>(80, x)[2];
        ++counted;
    }
    EXPECT_NEAR(rows.At(50), sum / counted, 2.0);

    const IntensityProfile& weights = model.RowWeights();
    EXPECT_EQ(weights.First(), rows.First());
    EXPECT_EQ(weights.Count(), rows.Count());
    EXPECT_FLOAT_EQ(weights.At(50), 25.0f);
    EXPECT_FLOAT_EQ(weights.At(0), static_cast<float>(25 * (1 + (50.0 / 101) * (50.0 / 101))));

    const IntensityProfile& eyeColumns = model.EyeColumnReference();
    EXPECT_LE(eyeColumns.First(), 19);
    EXPECT_GE(eyeColumns.Last(), 61);
    EXPECT_EQ(model.EyeColumnWeights().Count(), eyeColumns.Count());
    EXPECT_FLOAT_EQ(model.EyeColumnWeights().At(40), 25.0f);

    EXPECT_EQ(model.LeftEyeRowReference().First(), 18);
    EXPECT_EQ(model.LeftEyeRowReference().Last(), 55);
    EXPECT_FLOAT_EQ(model.RightEyeRowWeights().At(30), 25.0f);
}

TEST(CFaceModel, TiltedEyeLineIsTurnedLevel)
{
    const cv::Mat frame = SyntheticFrame();
    CFaceModel model;
    // Eye line rising 10 pixels over 30: the model turns it back to horizontal.
    model.Analyse(frame, 85, 75, 115, 65, 100, 105, FaceEllipse(100.0, 80.0, 40.0, 50.0, 0.0));
    EXPECT_NEAR(model.FeatureY(0), model.FeatureY(1), 1);
    EXPECT_NEAR(model.FeatureX(1) - model.FeatureX(0), std::hypot(30.0, 10.0), 1);
    // The rotated ellipse needs a wider picture than the upright one.
    EXPECT_GT(model.Width(), 81);
}

TEST(CFaceModel, AnalyseAgainReusesThePictures)
{
    const cv::Mat frame = SyntheticFrame();
    CFaceModel model;
    model.Analyse(frame, 85, 70, 115, 70, 100, 105, FaceEllipse(100.0, 80.0, 40.0, 50.0, 0.0));
    const unsigned char* pixels = model.FaceImage().data;
    model.Analyse(frame, 86, 70, 116, 70, 101, 105, FaceEllipse(101.0, 80.0, 40.0, 50.0, 0.0));
    EXPECT_EQ(model.FaceImage().data, pixels);
    EXPECT_EQ(model.FeatureX(0), 25);
}

TEST(CFaceModel, FaceAtTheFrameCornerAndDegenerateEllipses)
{
    const cv::Mat frame = SyntheticFrame();
    CFaceModel model;
    model.Analyse(frame, -10, 5, 20, 5, 5, 30, FaceEllipse(-5, -20, 30, 40));
    EXPECT_EQ(model.FaceImage().at<cv::Vec3b>(0, 0), cv::Vec3b(0, 0, 0));
    EXPECT_GE(model.RowReference().Count(), 1);

    CFaceModel point;
    point.Analyse(frame, 50, 50, 50, 50, 50, 50, FaceEllipse(50, 50, 50, 50));
    EXPECT_EQ(point.Width(), 1);
    EXPECT_EQ(point.RowReference().Count(), 1);

    // Semi-axes far beyond the frame are capped at its diagonal (256 pixels for 200 x 160).
    CFaceModel huge;
    huge.Analyse(frame, 85, 70, 115, 70, 100, 105, FaceEllipse(100.0, 80.0, 1e9, -1e12, 0.0));
    EXPECT_LE(huge.Width(), 2 * 257);
    EXPECT_LE(huge.Height(), 2 * 257);
}

TEST(CFaceModel, FrameOfAnotherTypeLeavesTheModelEmpty)
{
    CFaceModel model;
    model.Analyse(cv::Mat(160, 200, CV_8UC1, cv::Scalar(90)), 85, 70, 115, 70, 100, 105,
                  FaceEllipse(100.0, 80.0, 40.0, 50.0, 0.0));
    EXPECT_TRUE(model.FaceImage().empty());
    EXPECT_EQ(model.Width(), 0);
}

} // namespace
