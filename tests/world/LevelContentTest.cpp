#include "LevelInvariants.h"

#include "world/CLevelMap.h"
#include "world/LevelContent.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

using namespace level_invariants;

namespace {

std::vector<CCell> CellsOf(const CLevelMap& map)
{
    std::vector<CCell> cells;
    for (int i = 0; i < CLevelMap::kCellCount; ++i)
        cells.push_back(map.Cell(i));
    return cells;
}

struct Row {
    int cell;
    MapPoint corners[4];
    std::vector<std::vector<SideSegment>> sides;
    std::vector<int> drawList;
};

void ExpectRow(const CLevelMap& map, const Row& row)
{
    SCOPED_TRACE(row.cell);
    const CCell& cell = map.Cell(row.cell);
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(cell.corners[c]->x, row.corners[c].x);
        EXPECT_EQ(cell.corners[c]->z, row.corners[c].z);
    }
    for (int side = 0; side < 4; ++side) {
        const auto& actual = cell.sides[side].segments;
        ASSERT_EQ(actual.size(), row.sides[side].size()) << "side " << side;
        for (std::size_t s = 0; s < actual.size(); ++s) {
            EXPECT_EQ(actual[s].from, row.sides[side][s].from);
            EXPECT_EQ(actual[s].to, row.sides[side][s].to);
            EXPECT_EQ(actual[s].target, row.sides[side][s].target);
        }
    }
    EXPECT_EQ(map.DrawList(row.cell), row.drawList);
}

}  // namespace

TEST(LevelContent, HasSixtyTwoCellsOnAHundredSixtyFivePointsWithinTheChurchyard)
{
    const CLevelMap map;
    std::set<const MapPoint*> used;
    for (int i = 0; i < CLevelMap::kCellCount; ++i)
        for (const MapPoint* p : map.Cell(i).corners)
            used.insert(p);
    EXPECT_EQ(used.size(), 165u) << "every point is a corner of some cell";
    float minX = 1e9f, maxX = -1e9f, minZ = 1e9f, maxZ = -1e9f;
    for (int i = 0; i < CLevelMap::kPointCount; ++i) {
        minX = std::min(minX, map.Point(i).x);
        maxX = std::max(maxX, map.Point(i).x);
        minZ = std::min(minZ, map.Point(i).z);
        maxZ = std::max(maxZ, map.Point(i).z);
    }
    EXPECT_EQ(minX, -353.0f);
    EXPECT_EQ(maxX, 326.0f);
    EXPECT_EQ(minZ, -97.0f);
    EXPECT_EQ(maxZ, 490.0f);
}

TEST(LevelContent, CellsAreConvexQuadrilateralsWithWellFormedSideLists)
{
    const CLevelMap map;
    for (const std::string& error : ShapeErrors(CellsOf(map)))
        ADD_FAILURE() << error;
}

TEST(LevelContent, EveryOpeningHasItsReverseOverTheSameSpan)
{
    const CLevelMap map;
    for (const std::string& error : ReciprocityErrors(CellsOf(map)))
        ADD_FAILURE() << error;
}

TEST(LevelContent, EveryCellCanBeReachedFromTheStartCell)
{
    const CLevelMap map;
    const std::vector<bool> seen = Reachable(CellsOf(map), CLevelMap::kStartCell);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), true), CLevelMap::kCellCount);
}

TEST(LevelContent, StartCellHoldsTheStartPosition)
{
    const CLevelMap map;
    EXPECT_LT(OutsideDistance(map.Cell(CLevelMap::kStartCell), 0.0, 0.0), 0.0);
}

// The checks above must notice a hand edit that breaks the plan.
TEST(LevelContent, ChecksCatchBrokenEdits)
{
    const CLevelMap map;
    std::vector<CCell> cells = CellsOf(map);

    std::vector<CCell> lostReverse = cells;
    lostReverse[18].sides[BottomSide].segments[0].target = -1;  // the path's way back to the forecourt
    EXPECT_FALSE(ReciprocityErrors(lostReverse).empty());

    std::vector<CCell> shiftedSpan = cells;
    shiftedSpan[20].sides[LeftSide].segments[0].to = 209.0f;
    EXPECT_FALSE(ReciprocityErrors(shiftedSpan).empty());

    std::vector<CCell> concave = cells;
    MapPoint dent{(concave[3].corners[0]->x + concave[3].corners[3]->x) / 2, (concave[3].corners[0]->z + concave[3].corners[3]->z) / 2};
    concave[3].corners[1] = &dent;
    EXPECT_FALSE(ShapeErrors(concave).empty());

    std::vector<CCell> reversed = cells;
    std::reverse(reversed[1].sides[TopSide].segments.begin(), reversed[1].sides[TopSide].segments.end());
    EXPECT_FALSE(ShapeErrors(reversed).empty());

    // The crypt's hall has one door; close it on both sides.
    std::vector<CCell> cutOff = cells;
    for (int cell : {47, 48})
        for (SideList& side : cutOff[cell].sides)
            for (SideSegment& s : side.segments)
                if (s.target == 47 || s.target == 48)
                    s.target = -1;
    EXPECT_TRUE(ReciprocityErrors(cutOff).empty());
    const std::vector<bool> seen = Reachable(cutOff, CLevelMap::kStartCell);
    EXPECT_FALSE(seen[48]);
}

TEST(LevelContent, TellingRowsAreAsKnown)
{
    const CLevelMap map;
    ExpectRow(map, {19, {{-7.5f, 3}, {8.25f, 3}, {-7.5f, -3}, {8.25f, -3}},
                    {{{3, -3, -1}}, {{-7.5f, 8.25f, 1}}, {{3, -3, -1}}, {{-7.5f, 8.25f, 0}}},
                    {3, 4, 2, 0, 1}});
    ExpectRow(map, {0, {{-45, -3}, {44, -3}, {-45, -45}, {44, -45}},
                    {{{-3, -45, -1}}, {{-45, -7.5f, -1}, {-7.5f, 8.25f, 19}, {8.25f, 44, -1}}, {{-3, -45, -1}}, {{-45, 44, -1}}},
                    {3, 4, 2, 0, 1}});
    ExpectRow(map, {1, {{-86, 53}, {32, 46}, {-99, 3}, {32, 3}},
                    {{{53, 3, -1}},
                     {{-86, -30, -1}, {-30, -6, 18}, {-6, 20, -1}, {20, 32, 15}},
                     {{46, 30, -1}, {30, 3, 16}},
                     {{-99, -52.5f, 2}, {-52.5f, -7.5f, -1}, {-7.5f, 8.25f, 19}, {8.25f, 32, -1}}},
                    {3, 4, 5, 2, 0}});
    ExpectRow(map, {20, {{-15, 238}, {7, 238}, {-30, 143}, {-6, 143}},
                    {{{238, 208, 26}, {208, 183, 25}, {183, 143, 24}}, {{-15, 7, 50}},
                     {{238, 209, 23}, {209, 181, 22}, {181, 143, 21}}, {{-30, -6, 18}}},
                    {0, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 22, 18}});
    ExpectRow(map, {50, {{-15, 330}, {7, 330}, {-15, 238}, {7, 238}},
                    {{{330, 238, -1}}, {{-15, 7, 46}}, {{330, 238, -1}}, {{-15, 7, 20}}},
                    {0, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 15, 14, 17, 19, 20, 21, 22}});
}

TEST(LevelContent, DrawListsHoldTheSkyAndTheCellsOwnWallsAndFloor)
{
    const CLevelMap map;
    int total = 0;
    for (int i = 0; i < CLevelMap::kCellCount; ++i) {
        SCOPED_TRACE(i);
        const std::vector<int>& list = map.DrawList(i);
        total += static_cast<int>(list.size());
        EXPECT_GE(list.size(), 3u);
        EXPECT_LE(list.size(), 19u);
        EXPECT_EQ(std::set<int>(list.begin(), list.end()).size(), list.size()) << "no model twice";
        for (int m : list) {
            EXPECT_GE(m, 0);
            EXPECT_LE(m, 22);
        }
        auto has = [&](int m) { return std::find(list.begin(), list.end(), m) != list.end(); };
        EXPECT_TRUE(has(0)) << "the sky dome";
        EXPECT_TRUE(has(kLevelCells[i].wallModel));
        EXPECT_TRUE(has(kLevelCells[i].floorModel));
    }
    EXPECT_EQ(total, kLevelDrawListLength);
}

// A cell's neighbours are seen through the openings: their walls and floors are drawn too.
TEST(LevelContent, DrawListsHoldTheNeighboursWallsAndFloors)
{
    const CLevelMap map;
    for (int i = 0; i < CLevelMap::kCellCount; ++i) {
        const std::vector<int>& list = map.DrawList(i);
        auto has = [&](int m) { return std::find(list.begin(), list.end(), m) != list.end(); };
        for (const SideList& side : map.Cell(i).sides)
            for (const SideSegment& s : side.segments)
                if (s.target >= 0) {
                    EXPECT_TRUE(has(kLevelCells[s.target].floorModel)) << "cell " << i << " neighbour " << s.target;
                }
    }
}

TEST(LevelContent, WallsLeaveRoomForTheTowersAndTheCrypt)
{
    const CLevelMap map;
    struct Block {
        float x0, z0, x1, z1;
    };
    // The tower bases are solid; the crypt's walls are its own, around its hall.
    for (const Block& b : {Block{227, 374, 259, 406}, Block{-299, 467, -283, 489}}) {
        for (const WallSegment& w : map.Walls()) {
            const bool inside = std::min(w.a.x, w.b.x) > b.x0 && std::max(w.a.x, w.b.x) < b.x1 &&
                                std::min(w.a.z, w.b.z) > b.z0 && std::max(w.a.z, w.b.z) < b.z1;
            EXPECT_FALSE(inside);
            EXPECT_FALSE(PassesThrough(w.a.x, w.a.z, w.b.x, w.b.z, b.x0, b.z0, b.x1, b.z1));
            EXPECT_FALSE(PassesThrough(w.a.x, w.a.z, w.b.x, w.b.z, b.x0, b.z1, b.x1, b.z0));
        }
        for (int i = 0; i < CLevelMap::kCellCount; ++i)
            EXPECT_GT(OutsideDistance(map.Cell(i), (b.x0 + b.x1) / 2, (b.z0 + b.z1) / 2), 0.0) << "cell " << i;
    }
}
