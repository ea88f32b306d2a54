#include "faceanalysis/CFaceModel.h"
#include "faceanalysis/CTrackedFace.h"
#include "faceanalysis/MotionSampleSink.h"

#include "FaceTestFrames.h"

#include <gtest/gtest.h>
#include <opencv2/imgproc.hpp>

#include <array>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

using namespace facetest;

constexpr double Tolerance = 12.0;

struct RecordingSink : MotionSampleSink {
    void AddSample(float eye1X, float eye1Y, float eye2X, float eye2Y, float mouthX,
                   float mouthY) override
    {
        samples.push_back({eye1X, eye1Y, eye2X, eye2Y, mouthX, mouthY});
    }
    std::vector<std::array<float, 6>> samples;
};

// A model and a tracked face built from the portrait at the detector's proportions.
class TrackedPortrait : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(Portrait().empty());
        start = StartPoints(FaceBox);
        const cv::Rect region = SearchRegion(FaceBox);
        const FaceEllipse ellipse(region.x, region.y, region.x + region.width,
                                  region.y + region.height);
        model.Analyse(Portrait(), int(start.eye1.x), int(start.eye1.y), int(start.eye2.x),
                      int(start.eye2.y), int(start.mouth.x), int(start.mouth.y), ellipse);
        face = std::make_unique<CTrackedFace>(int(start.eye1.x), int(start.eye1.y),
                                              int(start.eye2.x), int(start.eye2.y),
                                              int(start.mouth.x), int(start.mouth.y), ellipse);
        face->SetFaceModel(&model);
    }

    // Largest distance between a tracked point and where the motion takes its start point.
    double Error(const cv::Matx23d& motion) const
    {
        const cv::Point2d tracked[3] = {{face->Eye1X(), face->Eye1Y()},
                                        {face->Eye2X(), face->Eye2Y()},
                                        {face->MouthX(), face->MouthY()}};
        const cv::Point2d expected[3] = {Apply(motion, start.eye1), Apply(motion, start.eye2),
                                         Apply(motion, start.mouth)};
        double worst = 0;
        for (int k = 0; k < 3; ++k)
            worst = std::max(worst, cv::norm(tracked[k] - expected[k]));
        return worst;
    }

    // Feeds steps frames moving linearly from rest to the final motion; every update must
    // succeed with a cost under the tolerance. Returns the error after the last frame.
    double Follow(int steps, double degrees, double scale, cv::Point2d shift)
    {
        const cv::Point2d centre(FaceBox.x + FaceBox.width / 2.0, FaceBox.y + FaceBox.height / 2.0);
        cv::Matx23d motion = Motion(centre, 0, 1, {0, 0});
        for (int step = 1; step <= steps; ++step) {
            const double part = static_cast<double>(step) / steps;
            motion = Motion(centre, degrees * part, 1 + (scale - 1) * part, shift * part);
            const cv::Mat frame = MovedFrame(Portrait(), motion, Portrait().size());
            double cost = -1;
            EXPECT_TRUE(face->Update(sink, frame, cost, Tolerance)) << "step " << step;
            EXPECT_GE(cost, 0.0);
            EXPECT_LT(cost, Tolerance) << "step " << step;
            worstCost = std::max(worstCost, cost);
        }
        return Error(motion);
    }

    CFaceModel model;
    std::unique_ptr<CTrackedFace> face;
    FacePoints start;
    RecordingSink sink;
    double worstCost = 0;
};

TEST_F(TrackedPortrait, StillFaceStaysPutAtLowCost)
{
    const double error = Follow(2, 0, 1, {0, 0});
    EXPECT_LT(error, 1.0);
    EXPECT_LT(worstCost, 3.0);
    ASSERT_EQ(sink.samples.size(), 2u);
    EXPECT_FLOAT_EQ(sink.samples.back()[0], static_cast<float>(face->Eye1X()));
    EXPECT_FLOAT_EQ(sink.samples.back()[5], static_cast<float>(face->MouthY()));
}

TEST_F(TrackedPortrait, FollowsAShiftToTheRight)
{
    const double error = Follow(5, 0, 1, {5, 0});
    std::printf("shift 5 px right: error %.2f px, worst cost %.2f\n", error, worstCost);
    EXPECT_LT(error, 2.0);
    // The ellipse moves with the face.
    const cv::Rect region = SearchRegion(FaceBox);
    EXPECT_NEAR(face->Ellipse().centreX, region.x + region.width / 2.0 + 5, 2.0);
    EXPECT_NEAR(face->Ellipse().centreY, region.y + region.height / 2.0, 2.0);
}

TEST_F(TrackedPortrait, FollowsAShiftDownwards)
{
    const double error = Follow(4, 0, 1, {0, 8});
    std::printf("shift 8 px down: error %.2f px, worst cost %.2f\n", error, worstCost);
    EXPECT_LT(error, 2.0);
}

TEST_F(TrackedPortrait, FollowsAGrowingFace)
{
    const double error = Follow(5, 0, 1.1, {0, 0});
    std::printf("scale 1.1: error %.2f px, worst cost %.2f\n", error, worstCost);
    // Measured 1.00 px.
    EXPECT_LT(error, 2.0);
}

TEST_F(TrackedPortrait, FollowsARoll)
{
    const double error = Follow(5, 5, 1, {0, 0});
    std::printf("roll 5 degrees: error %.2f px, worst cost %.2f, roll %.4f rad\n", error,
                worstCost, face->Roll());
    // Measured 0.97 px.
    EXPECT_LT(error, 2.0);
}

TEST_F(TrackedPortrait, FirstWarpKeepsTheModelScale)
{
    // The starting mouth lies straight below the eye mid-point: k is close to 1.
    double cost = 0;
    ASSERT_TRUE(face->Update(sink, Portrait(), cost, Tolerance));
    EXPECT_NEAR(face->RowScale(), 1.0, 0.02);
    EXPECT_NEAR(face->ColumnScale(), 1.0, 0.02);
    EXPECT_EQ(face->WarpImage().size(), cv::Size(model.Width(), model.Height()));
    int first = 0;
    int count = 0;
    EXPECT_EQ(face->RowProfileData(first, count), face->RowProfile().Values());
    EXPECT_EQ(first, face->RowProfile().First());
    EXPECT_EQ(count, face->RowProfile().Count());
    EXPECT_EQ(face->EyeColumnProfileData(first, count), face->EyeColumnProfile().Values());
}

TEST_F(TrackedPortrait, RowCostIsTestedFirstThenTheTotalNeitherStrictly)
{
    const cv::Mat frame = MovedFrame(Portrait(), Motion({0, 0}, 0, 1, {2, 1}), Portrait().size());
    const double before[2] = {face->Eye1X(), face->MouthY()};

    // Failing the row test reports twice the row cost.
    double cost = 0;
    EXPECT_FALSE(face->Update(sink, frame, cost, 0.0));
    const double costY = cost / 2;
    ASSERT_GT(costY, 0.0);
    EXPECT_EQ(face->Eye1X(), before[0]);
    EXPECT_EQ(face->MouthY(), before[1]);

    // A tolerance equal to the row cost passes the row test and fails on the total.
    EXPECT_FALSE(face->Update(sink, frame, cost, costY));
    const double total = cost;
    EXPECT_GT(total, costY);
    EXPECT_NE(total, 2 * costY);
    EXPECT_EQ(face->Eye1X(), before[0]);

    // A tolerance equal to the total passes.
    EXPECT_TRUE(face->Update(sink, frame, cost, total));
    EXPECT_EQ(cost, total);
    EXPECT_EQ(sink.samples.size(), 1u);
}

TEST_F(TrackedPortrait, FaceLeavingTheFrameIsReadWithinBounds)
{
    // Half the face beyond the left edge, then beyond the bottom-right corner, then a tiny frame.
    const cv::Mat left = MovedFrame(Portrait(), Motion({0, 0}, 0, 1, {-220, 0}), {300, 300});
    const cv::Mat corner = MovedFrame(Portrait(), Motion({0, 0}, 0, 1, {0, 0}), {240, 150});
    const cv::Mat tiny(6, 5, CV_8UC3, cv::Scalar::all(128));
    for (const cv::Mat* frame : {&left, &corner, &tiny}) {
        double cost = 0;
        const bool followed = face->Update(sink, *frame, cost, Tolerance);
        EXPECT_EQ(followed, cost <= Tolerance);
        EXPECT_TRUE(std::isfinite(face->Eye1X()));
    }
}

TEST_F(TrackedPortrait, DegenerateGeometryFailsWithoutMoving)
{
    double cost = 0;
    // Mouth on the eye mid-point: no eye-mouth distance to scale by.
    CTrackedFace flat(200, 100, 240, 100, 220, 100, FaceEllipse(180, 60, 260, 160));
    flat.SetFaceModel(&model);
    EXPECT_FALSE(flat.Update(sink, Portrait(), cost, Tolerance));
    EXPECT_EQ(cost, NoComparison);
    EXPECT_EQ(flat.MouthY(), 100.0);

    // No model, or a model never analysed.
    CTrackedFace orphan(200, 100, 240, 100, 220, 140, FaceEllipse(180, 60, 260, 160));
    EXPECT_FALSE(orphan.Update(sink, Portrait(), cost, Tolerance));
    const CFaceModel empty;
    orphan.SetFaceModel(&empty);
    EXPECT_FALSE(orphan.Update(sink, Portrait(), cost, Tolerance));
    EXPECT_EQ(orphan.Eye1X(), 200.0);
    EXPECT_TRUE(sink.samples.empty());
}

TEST_F(TrackedPortrait, FaceReplacedByAWallFailsAndKeepsThePositions)
{
    Follow(2, 0, 1, {2, 1});
    const double before[6] = {face->Eye1X(), face->Eye1Y(), face->Eye2X(),
                              face->Eye2Y(), face->MouthX(), face->MouthY()};
    const FaceEllipse ellipseBefore = face->Ellipse();
    const std::size_t samplesBefore = sink.samples.size();

    // Bricks: light mortar lines on a mid-red wall, over the whole face box and around it.
    cv::Mat frame = MovedFrame(Portrait(), Motion({0, 0}, 0, 1, {2, 1}), Portrait().size());
    const cv::Rect wall(FaceBox.x - 30, FaceBox.y - 30, FaceBox.width + 60, FaceBox.height + 60);
    cv::Mat bricks = frame(wall);
    bricks.setTo(cv::Scalar(60, 70, 150));
    for (int y = 0; y < wall.height; y += 14) {
        cv::line(bricks, {0, y}, {wall.width, y}, cv::Scalar(190, 200, 205), 3);
        for (int x = (y / 14) % 2 * 20; x < wall.width; x += 40)
            cv::line(bricks, {x, y}, {x, y + 14}, cv::Scalar(190, 200, 205), 3);
    }

    double cost = 0;
    EXPECT_FALSE(face->Update(sink, frame, cost, Tolerance));
    EXPECT_GT(cost, Tolerance);
    std::printf("wall: cost %.2f\n", cost);
    const double after[6] = {face->Eye1X(), face->Eye1Y(), face->Eye2X(),
                             face->Eye2Y(), face->MouthX(), face->MouthY()};
    for (int k = 0; k < 6; ++k)
        EXPECT_EQ(after[k], before[k]) << "coordinate " << k;
    EXPECT_EQ(face->Ellipse().centreX, ellipseBefore.centreX);
    EXPECT_EQ(face->Ellipse().halfHeight, ellipseBefore.halfHeight);
    EXPECT_EQ(sink.samples.size(), samplesBefore);
}

} // namespace
