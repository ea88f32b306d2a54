#include "tools/floorplan/EyeSight.h"

#include <gtest/gtest.h>

namespace {

// A wall across the x axis at x = 10, from z = -5 to z = 5.
EyeSight SightPast(float wallHeight, float reach = 100.0f)
{
    return EyeSight({{{10.0f, -5.0f}, {10.0f, 5.0f}, wallHeight}}, reach);
}

glm::vec3 At(float x, float z, float height = 0.0f)
{
    return {x, height, z};
}

} // namespace

TEST(EyeSight, AWallHigherThanTheEyeHidesTheGroundBehindIt)
{
    EyeSight sight = SightPast(6.0f);
    sight.MoveTo({0.0f, 0.0f}, 5.95f);
    EXPECT_FALSE(sight.Sees(At(11.0f, 0.0f)));
    EXPECT_FALSE(sight.Sees(At(60.0f, 5.0f, 3.0f)));
    EXPECT_TRUE(sight.Sees(At(9.0f, 0.0f))) << "in front of it";
    EXPECT_TRUE(sight.Sees(At(11.0f, 8.0f))) << "past its end";
}

TEST(EyeSight, TallThingsShowOverAWallAndLowOnesFarBehindALowWall)
{
    EyeSight high = SightPast(6.0f);
    high.MoveTo({0.0f, 0.0f}, 5.0f);
    // The line to (20, 0) 8 high passes the wall half way, at 6.5.
    EXPECT_TRUE(high.Sees(At(20.0f, 0.0f, 8.0f)));
    EXPECT_FALSE(high.Sees(At(20.0f, 0.0f, 6.8f)));

    // From 5.95 a line to the ground clears 3.5 at x = 10 once the point is 24.3 away.
    EyeSight low = SightPast(3.5f);
    low.MoveTo({0.0f, 0.0f}, 5.95f);
    EXPECT_FALSE(low.Sees(At(12.0f, 0.0f)));
    EXPECT_FALSE(low.Sees(At(24.0f, 0.0f)));
    EXPECT_TRUE(low.Sees(At(24.5f, 0.0f)));
    // A lower eye needs the point farther away.
    low.MoveTo({0.0f, 0.0f}, 4.0f);
    EXPECT_FALSE(low.Sees(At(24.5f, 0.0f)));
    EXPECT_TRUE(low.Sees(At(81.0f, 0.0f)));
}

TEST(EyeSight, APointInsideTheWallIsHiddenBelowItsTop)
{
    EyeSight sight = SightPast(6.0f);
    sight.MoveTo({0.0f, 0.0f}, 2.5f);
    EXPECT_FALSE(sight.Sees(At(10.0f, 2.0f)));
    EXPECT_TRUE(sight.Sees(At(10.0f, 2.0f, 6.0f)));
}

TEST(EyeSight, AnEyeOnTheWallsLineSeesBothWays)
{
    EyeSight sight = SightPast(6.0f);
    sight.MoveTo({10.0f, 20.0f}, 2.5f);
    EXPECT_TRUE(sight.Sees(At(10.0f, -20.0f)));
}

TEST(EyeSight, NothingShowsBeyondReach)
{
    EyeSight sight = SightPast(0.0f, 50.0f);
    sight.MoveTo({0.0f, 0.0f}, 2.5f);
    EXPECT_TRUE(sight.Sees(At(-49.9f, 0.0f)));
    EXPECT_FALSE(sight.Sees(At(-50.0f, 0.0f, 100.0f)));
}

// Directions are sorted into sectors round the eye; a wall behind the eye straddles the seam
// where the angle wraps from -pi to pi.
TEST(EyeSight, AWallAcrossTheSeamOfTheDirectionsStillHides)
{
    EyeSight sight({{{-10.0f, 3.0f}, {-10.0f, -3.0f}, 6.0f}}, 100.0f);
    sight.MoveTo({0.0f, 0.0f}, 2.5f);
    EXPECT_FALSE(sight.Sees(At(-20.0f, 0.0f)));
    EXPECT_FALSE(sight.Sees(At(-20.0f, 0.01f)));
    EXPECT_FALSE(sight.Sees(At(-20.0f, -0.01f)));
    EXPECT_TRUE(sight.Sees(At(-20.0f, 7.0f)));
}

TEST(EyeSight, MovingTheEyeForgetsThePreviousPlace)
{
    EyeSight sight = SightPast(6.0f);
    sight.MoveTo({0.0f, 0.0f}, 2.5f);
    ASSERT_FALSE(sight.Sees(At(20.0f, 0.0f)));
    sight.MoveTo({15.0f, 0.0f}, 2.5f);
    EXPECT_TRUE(sight.Sees(At(20.0f, 0.0f)));
    EXPECT_FALSE(sight.Sees(At(5.0f, 0.0f)));
}
