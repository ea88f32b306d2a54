#include "LevelInvariants.h"

#include "world/CLevelMap.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

// A cell built in the test: corners TL, TR, BL, BR and one segment per side.
struct TestCell {
    MapPoint points[4];
    CCell cell;

    TestCell(MapPoint tl, MapPoint tr, MapPoint bl, MapPoint br, int left, int top, int right, int bottom)
        : points{tl, tr, bl, br}
    {
        for (int c = 0; c < 4; ++c)
            cell.corners[c] = &points[c];
        cell.AllocateSides(1, 1, 1, 1);
        cell.sides[LeftSide].segments[0] = {tl.z, bl.z, left};
        cell.sides[TopSide].segments[0] = {tl.x, tr.x, top};
        cell.sides[RightSide].segments[0] = {tr.z, br.z, right};
        cell.sides[BottomSide].segments[0] = {bl.x, br.x, bottom};
    }
};

}  // namespace

TEST(CLevelMap, StartsInTheStartCellAndResetsToIt)
{
    CLevelMap map;
    EXPECT_EQ(map.GetCurrentCell(), 19);
    ASSERT_TRUE(map.TryMove(0, 0, 0, 5));
    EXPECT_EQ(map.GetCurrentCell(), 1);
    map.ResetCell();
    EXPECT_EQ(map.GetCurrentCell(), 19);
}

TEST(CLevelMap, StepForwardFromTheStartEntersTheForecourt)
{
    CLevelMap map;
    EXPECT_EQ(map.Cell(19).Classify(0, 0, 0, 5), 1);
    EXPECT_TRUE(map.TryMove(0, 0, 0, 5));
    EXPECT_EQ(map.GetCurrentCell(), 1);
}

TEST(CLevelMap, StepIntoTheDoorJambIsBlocked)
{
    CLevelMap map;
    EXPECT_EQ(map.Cell(19).Classify(0, 0, 10, 0), -2);
    EXPECT_FALSE(map.TryMove(0, 0, 10, 0));
    EXPECT_EQ(map.GetCurrentCell(), 19);
}

TEST(CLevelMap, StepInsideOrOntoASideReachesNoBand)
{
    CLevelMap map;
    const CCell& nave = map.Cell(0);
    EXPECT_EQ(nave.Classify(0, -20, 10, -25), -1);
    EXPECT_EQ(nave.Classify(0, -20, -45, -20), -1) << "on the left side";
    EXPECT_EQ(nave.Classify(0, -20, 44, -20), -1) << "on the right side";
    EXPECT_EQ(nave.Classify(0, -20, 20, -3), -1) << "on the top side";
    EXPECT_EQ(nave.Classify(0, -20, 20, -45), -1) << "on the bottom side";
    map.ResetCell();
    EXPECT_TRUE(map.TryMove(0, 0, 8.25f, 3));
    EXPECT_EQ(map.GetCurrentCell(), 19);
}

// Target look-up bounds: left, top and bottom include them, right excludes them.
TEST(CLevelMap, BoundsOfTheTargetLookUp)
{
    const CLevelMap map;
    // Cell 20's left side: 26 down to z 208, 25 below. z = 208 picks the first, 26.
    const MapPoint left208 = map.Cell(20).sides[LeftSide].segments[0].to == 208.0f
                                 ? MapPoint{-30.0f + 65.0f * 15.0f / 95.0f, 208.0f} : MapPoint{0, 0};
    EXPECT_EQ(map.Cell(20).Classify(left208.x + 1.0f, 208.0f, left208.x - 1.0f, 208.0f), 26);
    // Cell 20's right side: 23 down to z 209, 22 below. z = 209 is in neither.
    const float right209 = -6.0f + 66.0f * 13.0f / 95.0f;
    EXPECT_EQ(map.Cell(20).Classify(right209 - 1.0f, 209.0f, right209 + 1.0f, 209.0f), -1);
    EXPECT_EQ(map.Cell(20).Classify(right209 - 1.0f, 209.5f, right209 + 1.0f, 209.5f), 23);
    EXPECT_EQ(map.Cell(20).Classify(right209 - 1.0f, 208.5f, right209 + 1.0f, 208.5f), 22);
    // The door's top and bottom openings include their ends.
    EXPECT_EQ(map.Cell(19).Classify(-7.5f, 2, -7.5f, 4), 1);
    EXPECT_EQ(map.Cell(19).Classify(8.25f, -2, 8.25f, -4), 0);
}

// The crossing test scans in order with both bounds included: the forecourt's bottom has a wall
// ending at x -7.5 where the door opens, and the wall, listed first, wins.
TEST(CLevelMap, CrossingAtASharedBoundMeetsTheFirstSegment)
{
    const CLevelMap map;
    EXPECT_EQ(map.Cell(1).Classify(-7.5f, 5, -7.5f, 1), -2);
    EXPECT_EQ(map.Cell(1).Classify(-7.4f, 5, -7.4f, 1), 19);
}

TEST(CLevelMap, StepParallelToAReachedSideIsBlocked)
{
    const CLevelMap map;
    const CCell& door = map.Cell(19);
    // Parallel to the top side, beyond it: the crossing is infinite.
    EXPECT_EQ(door.Classify(0, 4, 1, 4), -2);
    // Parallel to the slanted left side of the crossroads, in its band.
    const CCell& crossroads = map.Cell(20);
    const float dx = 15.0f / 95.0f;
    EXPECT_EQ(crossroads.Classify(-25.0f, 180.0f, -25.0f + dx, 181.0f), -2);
}

TEST(CLevelMap, NotANumberGoesNowhere)
{
    CLevelMap map;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FALSE(map.TryMove(0, 0, nan, 0));
    EXPECT_FALSE(map.TryMove(0, 0, 0, std::numeric_limits<float>::infinity()));
    EXPECT_EQ(map.GetCurrentCell(), 19);
}

// Sides are examined left, right, top, bottom; the first reached side that blocks or names a
// target decides. The cells below are shaped so that two sides are reached at once.
TEST(CCell, LeftSideIsExaminedBeforeTheTop)
{
    // Left side leaning down to the right: just above the top-left corner the left band is
    // reached from inside the left line while the top band is reached from above.
    const TestCell t({0, 10}, {20, 10}, {8, 0}, {28, 0}, -1, 7, -1, -1);
    EXPECT_EQ(t.cell.Classify(0.2f, 9.5f, 0.2f, 10.5f), -2);
    TestCell open({0, 10}, {20, 10}, {8, 0}, {28, 0}, 5, 7, -1, -1);
    EXPECT_EQ(open.cell.Classify(0.2f, 9.5f, 0.2f, 10.5f), 7) << "left passes without naming a cell";
}

TEST(CCell, RightSideIsExaminedBeforeTheBottom)
{
    // The mirror image: right side leaning up to the left, at the bottom-right corner.
    const TestCell t({-8, 10}, {12, 10}, {-20, 0}, {20, 0}, -1, -1, -1, 9);
    EXPECT_EQ(t.cell.Classify(19.8f, 0.5f, 19.8f, -0.5f), -2);
    TestCell open({-8, 10}, {12, 10}, {-20, 0}, {20, 0}, -1, -1, 4, 9);
    EXPECT_EQ(open.cell.Classify(19.8f, 0.5f, 19.8f, -0.5f), 9);
}

TEST(CCell, TopSideIsExaminedBeforeTheBottom)
{
    // A cell thinner than the band, with slanted top and bottom: a point just outside the top
    // lies in both bands.
    const TestCell t({0, 4}, {20, 10}, {0, 0}, {20, 5}, -1, -1, -1, 3);
    EXPECT_EQ(t.cell.Classify(10, 6.5f, 10, 7.5f), -2);
    TestCell open({0, 4}, {20, 10}, {0, 0}, {20, 5}, -1, 6, -1, 3);
    EXPECT_EQ(open.cell.Classify(10, 6.5f, 10, 7.5f), 6);
}

TEST(CCell, ReachedPassableSideWithoutAMatchingSegmentDoesNotDecide)
{
    // Beyond the top-left corner of the door: the top crossing is in the opening, the new x is
    // left of the list; the left side then blocks.
    const CLevelMap map;
    EXPECT_EQ(map.Cell(19).Classify(-7, 2.5f, -7.6f, 3.4f), -2);
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

    // From the door, a long step east jumps past the band of the wall beside it.
    map.ResetCell();
    EXPECT_EQ(map.Cell(19).Classify(0, 0, 20, 0), -1);
    EXPECT_FALSE(map.TryMove(0, 0, 20, 0));
    // A long step north jumps past the band of the doorway: it would leave the map behind.
    EXPECT_EQ(map.Cell(19).Classify(0, 0, 0, 9.5f), -1);
    EXPECT_FALSE(map.TryMove(0, 0, 0, 9.5f));
    EXPECT_EQ(map.GetCurrentCell(), 19);
}

TEST(CLevelMap, WallsListEachStretchOnce)
{
    const CLevelMap map;
    const auto& walls = map.Walls();
    ASSERT_FALSE(walls.empty());
    for (std::size_t i = 0; i < walls.size(); ++i)
        for (std::size_t j = i + 1; j < walls.size(); ++j) {
            const WallSegment &a = walls[i], &b = walls[j];
            const bool same = (a.a.x == b.a.x && a.a.z == b.a.z && a.b.x == b.b.x && a.b.z == b.b.z) ||
                              (a.a.x == b.b.x && a.a.z == b.b.z && a.b.x == b.a.x && a.b.z == b.a.z);
            EXPECT_FALSE(same) << i << " " << j;
        }
    // The forecourt's top wall between the path and the side path is shared with the middle plot.
    int found = 0;
    for (const WallSegment& w : walls)
        if (w.a.x == -6.0f && w.b.x == 20.0f && w.a.z < 50.0f)
            ++found;
    EXPECT_EQ(found, 1);
}
