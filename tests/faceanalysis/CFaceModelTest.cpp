#include "faceanalysis/CFaceModel.h"

#include <gtest/gtest.h>
#include <opencv2/core.hpp>

#include <cmath>
#include <vector>

namespace {

using Ints = std::vector<int>;

// A 200 x 160 textured frame with a marked pixel at the face centre (100, 80); the face has
// semi-axes 40 and 50, level eyes on row 70 and the mouth at (100, 105).
class LevelModel : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int y = 0; y < frame.rows; ++y)
            for (int x = 0; x < frame.cols; ++x)
                frame.at<cv::Vec3b>(y, x) = cv::Vec3b(x % 250 + 1, y % 250 + 1, (x + 2 * y) % 200 + 30);
        frame.at<cv::Vec3b>(80, 100) = cv::Vec3b(11, 22, 233);
        model.Analyse(frame, 85, 70, 115, 70, 100, 105, FaceEllipse(100.0, 80.0, 40.0, 50.0, 0.0));
    }

    cv::Mat frame = cv::Mat(160, 200, CV_8UC3);
    CFaceModel model;
};

TEST_F(LevelModel, The81By101PictureIsTheFaceMovedToItsMiddleAndMaskedByItsEllipse)
{
    EXPECT_EQ((Ints{model.Width(), model.Height(), model.XMax(), model.YMax()}), (Ints{81, 101, 80, 100}));
    EXPECT_EQ(model.FaceImage().size(), cv::Size(81, 101));
    EXPECT_EQ(model.MaskImage().size(), cv::Size(81, 101));
    EXPECT_EQ(std::pair(model.ModelEllipse()->centreX, model.ModelEllipse()->centreY), std::pair(40.0, 50.0));
    EXPECT_EQ(model.FaceImage().at<cv::Vec3b>(50, 40), cv::Vec3b(11, 22, 233));
    EXPECT_EQ(model.FaceImage().at<cv::Vec3b>(50, 75), frame.at<cv::Vec3b>(80, 135));
    EXPECT_EQ(model.FaceImage().at<cv::Vec3b>(2, 2), cv::Vec3b(0, 0, 0));  // outside the ellipse
}

TEST_F(LevelModel, FeaturesBandsAndReferencesAtTheirFixedProportions)
{
    const CFaceModel& m = model;
    // The model points, then the frame points kept in slot 3.
    EXPECT_EQ((Ints{m.FeatureX(0), m.FeatureY(0), m.FeatureX(1), m.FeatureY(1), m.FeatureX(2), m.FeatureY(2),
                    m.FeatureX(3), m.FeatureY(3)}),
              (Ints{25, 40, 55, 40, 40, 75, 100, 105}));
    // Height 101: hy = 5 + 1, the eye band reaching twice as far up; d = 15: rows 40 - 22 .. 40 + 15.
    EXPECT_EQ((Ints{m.EyeRow(), m.EyeBandTop(), m.EyeBandBottom(), m.MouthRow(), m.MouthBandTop(), m.MouthBandBottom(),
                    m.EyeRefineTop(), m.EyeRefineBottom()}),
              (Ints{40, 28, 46, 75, 69, 81, 18, 55}));
    // Width 81: hx = 5 + 1 and hm = 14 + 1.
    EXPECT_EQ((Ints{m.LeftEyeFrom(), m.LeftEyeColumn(), m.LeftEyeTo(), m.RightEyeFrom(), m.RightEyeColumn(),
                    m.RightEyeTo(), m.MouthFrom(), m.MouthColumn(), m.MouthTo()}),
              (Ints{19, 25, 31, 49, 55, 61, 25, 40, 55}));
    // Row 50 holds the mean red byte of frame row 80 inside the ellipse (columns 61..139).
    EXPECT_NEAR(m.RowReference().At(50), cv::mean(frame(cv::Rect(61, 80, 79, 1)))[2], 2.0);
    EXPECT_EQ((Ints{m.RowReference().First(), m.RowWeights().First(), m.RowWeights().Count()}), (Ints{0, 0, 101}));
    // Weights 25 at the centre, growing to the edges; constant 25 for the eyes' rows.
    EXPECT_EQ(std::pair(m.RowWeights().At(50), m.RightEyeRowWeights().At(30)), std::pair(25.0f, 25.0f));
    EXPECT_FLOAT_EQ(m.RowWeights().At(0), static_cast<float>(25 * (1 + (50.0 / 101) * (50.0 / 101))));
    EXPECT_EQ((Ints{m.LeftEyeRowReference().First(), m.LeftEyeRowReference().Last()}), (Ints{18, 55}));
}

TEST_F(LevelModel, ATiltedEyeLineIsTurnedLevelAndFacesAtTheCornerDegenerateOrHugeStayWithinBounds)
{
    // Eye line rising 10 pixels over 30; the turned ellipse needs a wider picture.
    model.Analyse(frame, 85, 75, 115, 65, 100, 105, FaceEllipse(100.0, 80.0, 40.0, 50.0, 0.0));
    EXPECT_NEAR(model.FeatureY(0), model.FeatureY(1), 1);
    EXPECT_NEAR(model.FeatureX(1) - model.FeatureX(0), std::hypot(30.0, 10.0), 1);
    EXPECT_GT(model.Width(), 81);
    model.Analyse(frame, -10, 5, 20, 5, 5, 30, FaceEllipse(-5, -20, 30, 40));
    EXPECT_EQ(model.FaceImage().at<cv::Vec3b>(0, 0), cv::Vec3b(0, 0, 0));
    model.Analyse(frame, 50, 50, 50, 50, 50, 50, FaceEllipse(50, 50, 50, 50));
    EXPECT_EQ((Ints{model.Width(), model.RowReference().Count()}), (Ints{1, 1}));
    // Semi-axes far beyond the frame are capped at its diagonal (256 pixels for 200 x 160).
    model.Analyse(frame, 85, 70, 115, 70, 100, 105, FaceEllipse(100.0, 80.0, 1e9, -1e12, 0.0));
    EXPECT_LE(model.Width(), 2 * 257);
    EXPECT_LE(model.Height(), 2 * 257);
    CFaceModel grey;
    grey.Analyse(cv::Mat(160, 200, CV_8UC1, cv::Scalar(90)), 85, 70, 115, 70, 100, 105, FaceEllipse(60, 30, 140, 130));
    EXPECT_TRUE(grey.FaceImage().empty());
    EXPECT_EQ(grey.Width(), 0);
}

}  // namespace
