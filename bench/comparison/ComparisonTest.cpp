#include "bench/comparison/FaceCentre.h"
#include "bench/comparison/GroundTruth.h"
#include "tests/support/TemporaryFolder.h"
#include "tracking/FacePlacement.h"

#include <opencv2/imgproc.hpp>

#include <gtest/gtest.h>

#include <fstream>

namespace {

cv::Point2d Moved(const cv::Matx23d& map, float x, float y)
{
    return {map(0, 0) * x + map(0, 1) * y + map(0, 2), map(1, 0) * x + map(1, 1) * y + map(1, 2)};
}

TEST(FaceCentre, IsTheCentreOfTheBoxTheDetectorPlacedTheFeaturesIn)
{
    const cv::Rect found(100, 60, 80, 80);
    const std::array<float, 6> p = FacePlacement::ForNewFace(found, 2).points;
    const cv::Point2d centre = FaceCentre({p[0], p[1]}, {p[2], p[3]}, {p[4], p[5]});
    EXPECT_NEAR(centre.x, 280.0, 1e-4);
    EXPECT_NEAR(centre.y, 200.0, 1e-4);
}

TEST(FaceCentre, ShiftsScalesAndRollsWithTheFace)
{
    const cv::Rect found(100, 60, 80, 80);
    const std::array<float, 6> p = FacePlacement::ForNewFace(found, 1).points;
    cv::Matx23d map = cv::getRotationMatrix2D_(cv::Point2f(120, 90), 25.0, 1.3);
    map(0, 2) += 15;
    map(1, 2) -= 7;
    const cv::Point2d centre = FaceCentre(Moved(map, p[0], p[1]), Moved(map, p[2], p[3]), Moved(map, p[4], p[5]));
    const cv::Point2d expected = Moved(map, 140.0f, 100.0f);
    EXPECT_NEAR(centre.x, expected.x, 1e-4);
    EXPECT_NEAR(centre.y, expected.y, 1e-4);
}

class GroundTruthFile : public testing::Test {
protected:
    std::optional<std::vector<TruthFrame>> Read(const std::string& text)
    {
        std::ofstream("truth.csv") << text;
        error.clear();
        return ReadGroundTruth("truth.csv", error);
    }

    TemporaryFolder folder;
    std::string error;
};

TEST_F(GroundTruthFile, ReadsTheFramesInOrder)
{
    const auto frames = Read("frame,segment,centre_x,centre_y,face_width,roll_degrees\n"
                             "0,still,320.00,210.00,160.00,0.00\n"
                             "1,roll-cw,318.50,211.25,161.00,-2.50\n");
    ASSERT_TRUE(frames) << error;
    ASSERT_EQ(frames->size(), 2u);
    EXPECT_EQ((*frames)[1].segment, "roll-cw");
    EXPECT_EQ((*frames)[1].centre, cv::Point2d(318.5, 211.25));
    EXPECT_EQ((*frames)[1].faceWidth, 161.0);
    EXPECT_EQ((*frames)[1].rollDegrees, -2.5);
}

TEST_F(GroundTruthFile, RefusesWhatHeadvideoDoesNotWrite)
{
    EXPECT_FALSE(Read(""));
    EXPECT_FALSE(Read("x,y\n0,still,1,2,3,4\n"));
    EXPECT_FALSE(Read("frame,segment,centre_x,centre_y,face_width,roll_degrees\n1,still,1,2,3,4\n"));
    EXPECT_FALSE(Read("frame,segment,centre_x,centre_y,face_width,roll_degrees\n0,still,1,2,3\n"));
    EXPECT_FALSE(Read("frame,segment,centre_x,centre_y,face_width,roll_degrees\n0,still,a,2,3,4\n"));
    EXPECT_NE(error.find("bad line"), std::string::npos);
    std::filesystem::remove("truth.csv");
    EXPECT_FALSE(ReadGroundTruth("truth.csv", error));
}

}  // namespace
