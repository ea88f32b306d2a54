#include "world/LevelContent.h"
#include "world/CLevelMap.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>
#include <vector>

namespace {

struct Row {
    int cell;
    MapPoint corners[4];
    std::vector<SideSegment> sides[4];
    std::vector<int> drawList;
};

}  // namespace

TEST(LevelContent, TellingRowsAreAsKnown)
{
    const CLevelMap map;
    const Row rows[] = {
        {19,
         {{-7.5f, 3}, {8.25f, 3}, {-7.5f, -3}, {8.25f, -3}},
         {{{3, -3, -1}}, {{-7.5f, 8.25f, 1}}, {{3, -3, -1}}, {{-7.5f, 8.25f, 0}}},
         {3, 4, 2, 0, 1}},
        {0,
         {{-45, -3}, {44, -3}, {-45, -45}, {44, -45}},
         {{{-3, -45, -1}}, {{-45, -7.5f, -1}, {-7.5f, 8.25f, 19}, {8.25f, 44, -1}}, {{-3, -45, -1}}, {{-45, 44, -1}}},
         {3, 4, 2, 0, 1}},
        {1,
         {{-86, 53}, {32, 46}, {-99, 3}, {32, 3}},
         {{{53, 3, -1}},
          {{-86, -30, -1}, {-30, -6, 18}, {-6, 20, -1}, {20, 32, 15}},
          {{46, 30, -1}, {30, 3, 16}},
          {{-99, -52.5f, 2}, {-52.5f, -7.5f, -1}, {-7.5f, 8.25f, 19}, {8.25f, 32, -1}}},
         {3, 4, 5, 2, 0}},
        {20,
         {{-15, 238}, {7, 238}, {-30, 143}, {-6, 143}},
         {{{238, 208, 26}, {208, 183, 25}, {183, 143, 24}},
          {{-15, 7, 50}},
          {{238, 209, 23}, {209, 181, 22}, {181, 143, 21}},
          {{-30, -6, 18}}},
         {0, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 22, 18}},
        {50,
         {{-15, 330}, {7, 330}, {-15, 238}, {7, 238}},
         {{{330, 238, -1}}, {{-15, 7, 46}}, {{330, 238, -1}}, {{-15, 7, 20}}},
         {0, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 15, 14, 17, 19, 20, 21, 22}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.cell);
        const CCell& cell = map.Cell(row.cell);
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(std::pair(cell.corners[c]->x, cell.corners[c]->z), std::pair(row.corners[c].x, row.corners[c].z))
                << c;
        for (int side = 0; side < 4; ++side) {
            const auto& actual = cell.sides[side].segments;
            ASSERT_EQ(actual.size(), row.sides[side].size()) << "side " << side;
            for (std::size_t s = 0; s < actual.size(); ++s)
                EXPECT_EQ(std::make_tuple(actual[s].from, actual[s].to, actual[s].target),
                          std::make_tuple(row.sides[side][s].from, row.sides[side][s].to, row.sides[side][s].target))
                    << "side " << side << " segment " << s;
        }
        EXPECT_EQ(map.DrawList(row.cell), row.drawList);
    }
}

// Every list holds the sky, which DrawListCoverageTest leaves out; the walls and floors a list must
// hold are what that test checks.
TEST(LevelContent, DrawListsHoldTheSkyAndEachModelOnce)
{
    const CLevelMap map;
    int total = 0;
    for (int i = 0; i < CLevelMap::kCellCount; ++i) {
        SCOPED_TRACE(i);
        const std::vector<int>& list = map.DrawList(i);
        total += static_cast<int>(list.size());
        ASSERT_GE(list.size(), 3u);
        EXPECT_LE(list.size(), 19u);
        const std::set<int> models(list.begin(), list.end());
        EXPECT_EQ(models.size(), list.size()) << "no model twice";
        EXPECT_GE(*models.begin(), 0);
        EXPECT_LE(*models.rbegin(), 22);
        EXPECT_EQ(models.count(0), 1u) << "the sky";
    }
    EXPECT_EQ(total, kLevelDrawListLength);
}
