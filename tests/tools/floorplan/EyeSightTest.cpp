#include "tools/floorplan/EyeSight.h"

#include <gtest/gtest.h>

namespace {

glm::vec3 At(float x, float z, float height = 0.0f)
{
    return {x, height, z};
}

}  // namespace

// A wall across the x axis at x = 10, from z = -5 to z = 5.
TEST(EyeSight, WallsHideWhatIsBehindThemBelowTheLineOverTheirTop)
{
    EyeSight high({{{10.0f, -5.0f}, {10.0f, 5.0f}, 6.0f}}, 100.0f);
    high.MoveTo({0.0f, 0.0f}, 5.95f);
    EXPECT_FALSE(high.Sees(At(11.0f, 0.0f)));
    EXPECT_TRUE(high.Sees(At(9.0f, 0.0f))) << "in front of it";
    EXPECT_TRUE(high.Sees(At(11.0f, 8.0f))) << "past its end";
    // From 5 high, the line to (20, 0) passes the wall half way: at 6.5 for a point 8 high.
    high.MoveTo({0.0f, 0.0f}, 5.0f);
    EXPECT_TRUE(high.Sees(At(20.0f, 0.0f, 8.0f)));
    EXPECT_FALSE(high.Sees(At(20.0f, 0.0f, 6.8f)));
    // A point inside the wall is hidden below its top; an eye on the wall's line sees along it.
    high.MoveTo({0.0f, 0.0f}, 2.5f);
    EXPECT_FALSE(high.Sees(At(10.0f, 2.0f)));
    EXPECT_TRUE(high.Sees(At(10.0f, 2.0f, 6.0f)));
    high.MoveTo({10.0f, 20.0f}, 2.5f);
    EXPECT_TRUE(high.Sees(At(10.0f, -20.0f)));
    high.MoveTo({15.0f, 0.0f}, 2.5f);
    EXPECT_FALSE(high.Sees(At(5.0f, 0.0f))) << "seen from the other side";

    // From 5.95 a line to the ground clears 3.5 at x = 10 once the point is 24.3 away; a lower
    // eye needs the point farther away.
    EyeSight low({{{10.0f, -5.0f}, {10.0f, 5.0f}, 3.5f}}, 100.0f);
    low.MoveTo({0.0f, 0.0f}, 5.95f);
    EXPECT_FALSE(low.Sees(At(24.0f, 0.0f)));
    EXPECT_TRUE(low.Sees(At(24.5f, 0.0f)));
    low.MoveTo({0.0f, 0.0f}, 4.0f);
    EXPECT_FALSE(low.Sees(At(24.5f, 0.0f)));
    EXPECT_TRUE(low.Sees(At(81.0f, 0.0f)));
}

// Directions are sorted into sectors round the eye; a wall behind the eye straddles the seam where
// the angle wraps from -pi to pi. Nothing shows beyond reach.
TEST(EyeSight, AWallAcrossTheSeamOfTheDirectionsStillHidesAndReachEndsSight)
{
    EyeSight sight({{{-10.0f, 3.0f}, {-10.0f, -3.0f}, 6.0f}}, 50.0f);
    sight.MoveTo({0.0f, 0.0f}, 2.5f);
    for (float z : {0.0f, 0.01f, -0.01f})
        EXPECT_FALSE(sight.Sees(At(-20.0f, z))) << z;
    EXPECT_TRUE(sight.Sees(At(-20.0f, 7.0f)));
    EXPECT_TRUE(sight.Sees(At(49.9f, 0.0f)));
    EXPECT_FALSE(sight.Sees(At(50.0f, 0.0f, 100.0f)));
}
