#include "tools/floorplan/EyeSight.h"

#include <gtest/gtest.h>

// Points are {x, height, z}. Directions are sorted into sectors round the eye; a wall behind the
// eye straddles the seam where the angle wraps from -pi to pi. Nothing shows beyond reach. (Walls
// hiding what is below the line over their top: DrawListDeriverTest.)
TEST(EyeSight, AWallAcrossTheSeamOfTheDirectionsStillHidesAndReachEndsSight)
{
    EyeSight sight({{{-10.0f, 3.0f}, {-10.0f, -3.0f}, 6.0f}}, 50.0f);
    sight.MoveTo({0.0f, 0.0f}, 2.5f);
    for (float z : {0.0f, 0.01f, -0.01f})
        EXPECT_FALSE(sight.Sees({-20.0f, 0.0f, z})) << z;
    EXPECT_TRUE(sight.Sees({-20.0f, 0.0f, 7.0f}));
    EXPECT_TRUE(sight.Sees({49.9f, 0.0f, 0.0f}));
    EXPECT_FALSE(sight.Sees({50.0f, 100.0f, 0.0f}));
}
