#include "tests/support/world/LevelInvariants.h"

#include "world/CLevelMap.h"

#include <gtest/gtest.h>

#include <limits>
#include <utility>

TEST(CLevelMap, StepsFollowTheViewerIntoNeighboursAndWallsStopThem)
{
    CLevelMap map;
    EXPECT_EQ(map.GetCurrentCell(), 19);
    EXPECT_EQ(map.Cell(19).Classify(0, 0, 0, 5), 1);
    ASSERT_TRUE(map.TryMove(0, 0, 0, 5));
    EXPECT_EQ(map.GetCurrentCell(), 1);
    map.ResetCell();
    EXPECT_EQ(map.GetCurrentCell(), 19);
    // Into the door's jamb.
    EXPECT_EQ(map.Cell(19).Classify(0, 0, 10, 0), -2);
    EXPECT_FALSE(map.TryMove(0, 0, 10, 0));
    // Inside, or onto a side of, the nave reaches no band.
    for (const auto& [x, z] : {std::pair<float, float>{10, -25}, {-45, -20}, {44, -20}, {20, -3}, {20, -45}})
        EXPECT_EQ(map.Cell(0).Classify(0, -20, x, z), -1) << x << ", " << z;
    EXPECT_TRUE(map.TryMove(0, 0, 8.25f, 3));
    // Not a number goes nowhere.
    EXPECT_FALSE(map.TryMove(0, 0, std::numeric_limits<float>::quiet_NaN(), 0));
    EXPECT_FALSE(map.TryMove(0, 0, 0, std::numeric_limits<float>::infinity()));
    EXPECT_EQ(map.GetCurrentCell(), 19);
}

// Target look-up: left, top and bottom include their bounds, right excludes them. The crossing
// test includes both bounds and the first segment that holds the crossing decides.
TEST(CLevelMap, BoundsOfTheCrossingAndTheTargetLookUp)
{
    const CLevelMap map;
    const CCell& crossroads = map.Cell(20);
    // Left side: 26 down to z 208, 25 below.
    const float left208 = -30.0f + 65.0f * 15.0f / 95.0f;
    EXPECT_EQ(crossroads.Classify(left208 + 1.0f, 208.0f, left208 - 1.0f, 208.0f), 26);
    // Right side: 23 down to z 209, 22 below; z = 209 is in neither.
    const float right209 = -6.0f + 66.0f * 13.0f / 95.0f;
    EXPECT_EQ(crossroads.Classify(right209 - 1.0f, 209.0f, right209 + 1.0f, 209.0f), -1);
    EXPECT_EQ(crossroads.Classify(right209 - 1.0f, 209.5f, right209 + 1.0f, 209.5f), 23);
    EXPECT_EQ(crossroads.Classify(right209 - 1.0f, 208.5f, right209 + 1.0f, 208.5f), 22);
    EXPECT_EQ(map.Cell(19).Classify(-7.5f, 2, -7.5f, 4), 1);
    EXPECT_EQ(map.Cell(19).Classify(8.25f, -2, 8.25f, -4), 0);
    // The forecourt's bottom wall ends at x -7.5 where the door opens: the wall, listed first, wins.
    EXPECT_EQ(map.Cell(1).Classify(-7.5f, 5, -7.5f, 1), -2);
    EXPECT_EQ(map.Cell(1).Classify(-7.4f, 5, -7.4f, 1), 19);
    // Parallel to a reached side: beyond the door's top, and along the crossroads' slanted left.
    EXPECT_EQ(map.Cell(19).Classify(0, 4, 1, 4), -2);
    EXPECT_EQ(crossroads.Classify(-25.0f, 180.0f, -25.0f + 15.0f / 95.0f, 181.0f), -2);
}

// Sides are examined left, right, top, bottom; the first reached side that blocks or names a
// target decides. Each cell below is shaped so that a step reaches two sides at once, and each
// row's targets would decide otherwise in the other order.
TEST(CCell, SidesAreExaminedLeftRightTopBottom)
{
    struct Case {
        MapPoint corners[4];  // top-left, top-right, bottom-left, bottom-right
        float step[4];
        int targets[4];  // left, top, right, bottom; -1 a wall
        int expected;
    };
    const Case cases[] = {
        // A steep parallelogram whose slanted sides' bands overlap inside it: left before right.
        {{{0, 10}, {4, 10}, {20, 0}, {24, 0}}, {12, 4, 12, 5}, {5, -1, -1, -1}, 5},
        {{{0, 10}, {4, 10}, {20, 0}, {24, 0}}, {12, 4, 12, 5}, {-1, -1, 4, -1}, -2},
        // Out past the top-right corner: right before top.
        {{{-20, 10}, {0, 10}, {-28, 0}, {-8, 0}}, {-0.2f, 9.5f, -0.2f, 10.5f}, {-1, 7, -1, -1}, -2},
        // A thin slanted strip that reaches its top and its bottom at once: top before bottom.
        {{{0, 1}, {20, 21}, {0, 0}, {20, 20}}, {10, 10.4f, 10, 10.5f}, {-1, 7, -1, 9}, 7},
        {{{0, 1}, {20, 21}, {0, 0}, {20, 20}}, {10, 10.4f, 10, 10.5f}, {-1, -1, -1, 9}, -2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << &c - cases);
        const MapPoint *tl = &c.corners[0], *tr = &c.corners[1], *bl = &c.corners[2], *br = &c.corners[3];
        CCell cell;
        cell.corners[0] = tl, cell.corners[1] = tr, cell.corners[2] = bl, cell.corners[3] = br;
        cell.AllocateSides(1, 1, 1, 1);
        cell.sides[LeftSide].segments[0] = {tl->z, bl->z, c.targets[0]};
        cell.sides[TopSide].segments[0] = {tl->x, tr->x, c.targets[1]};
        cell.sides[RightSide].segments[0] = {tr->z, br->z, c.targets[2]};
        cell.sides[BottomSide].segments[0] = {bl->x, br->x, c.targets[3]};
        EXPECT_EQ(cell.Classify(c.step[0], c.step[1], c.step[2], c.step[3]), c.expected);
    }
    // Beyond the door's top-left corner: the top crossing is in the opening, but the new x is left
    // of its list, so the top names nothing and the left side blocks.
    EXPECT_EQ(CLevelMap().Cell(19).Classify(-7, 2.5f, -7.6f, 3.4f), -2);
}

// As written, the bands let a step cut the corner of a doorway into a wall, or hop over a band
// altogether; the map refuses such steps.
TEST(CLevelMap, StepsThatPassThroughAWallAreRefused)
{
    CLevelMap map;
    ASSERT_TRUE(map.TryMove(0, 0, 0, 10.0f / 3));
    ASSERT_TRUE(map.TryMove(0, 10.0f / 3, -8.5f, 47.5f));
    ASSERT_EQ(map.GetCurrentCell(), 1);
    // Into the forecourt's doorway to the north path and out through the path's wall.
    EXPECT_EQ(map.Cell(1).Classify(-8.5f, 47.5f, -5.75f, 48.5f), -1);
    EXPECT_TRUE(level_invariants::PassesThrough(-8.5, 47.5, -5.75, 48.5, -6, 143, -6, 48.254237));
    EXPECT_FALSE(map.TryMove(-8.5f, 47.5f, -5.75f, 48.5f));
    EXPECT_EQ(map.GetCurrentCell(), 1);
    // From the door, long steps east past the wall's band and north past the doorway's band.
    map.ResetCell();
    for (const auto& [x, z] : {std::pair<float, float>{20, 0}, {0, 9.5f}}) {
        EXPECT_EQ(map.Cell(19).Classify(0, 0, x, z), -1);
        EXPECT_FALSE(map.TryMove(0, 0, x, z));
    }
    EXPECT_EQ(map.GetCurrentCell(), 19);
}
