#include "tools/floorplan/DrawListDeriver.h"

#include "world/CLevelMap.h"
#include "world/LevelContent.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr int kModels = 23;
// Cell 19 is the rectangle x -7.5..8.25, z -3..3 that opens north into cell 1 and south into
// cell 0; its left and right sides are walls.

bool Has(const std::vector<int>& list, int model)
{
    return std::find(list.begin(), list.end(), model) != list.end();
}

} // namespace

TEST(DrawListDeriver, ListsTheSkyTheCellsOwnModelsAndItsNeighboursFloorsWhateverElseIsSeen)
{
    const CLevelMap map;
    const DrawListDeriver deriver(map, std::vector<std::vector<glm::vec3>>(kModels), {}, 170.0f, kHighestEye);
    for (int cell : {19, 0, 46}) {
        const std::vector<int> list = deriver.DrawList(cell);
        EXPECT_TRUE(std::is_sorted(list.begin(), list.end()));
        EXPECT_TRUE(Has(list, DrawListDeriver::kSkyModel));
        EXPECT_TRUE(Has(list, kLevelCells[cell].wallModel));
        EXPECT_TRUE(Has(list, kLevelCells[cell].floorModel));
        for (const SideList& side : map.Cell(cell).sides)
            for (const SideSegment& s : side.segments)
                if (s.target >= 0) {
                    EXPECT_TRUE(Has(list, kLevelCells[s.target].floorModel)) << cell << " to " << s.target;
                }
    }
}

TEST(DrawListDeriver, ListsAModelThatShowsWithinReachPastTheWalls)
{
    const CLevelMap map;
    std::vector<std::vector<glm::vec3>> targets(kModels);
    targets[1] = {{0.0f, 0.0f, 20.0f}};   // on the ground north of the door, in cell 1
    targets[15] = {{0.0f, 0.0f, -20.0f}}; // south of it, in cell 0
    targets[16] = {{0.0f, 50.0f, 150.0f}}; // high in the air far north
    targets[17] = {{0.0f, 1.0f, 300.0f}}; // beyond reach
    // A wall across the way south, higher than any eye.
    const std::vector<Occluder> walls = {{{-20.0f, -10.0f}, {20.0f, -10.0f}, 6.0f}};
    const std::vector<int> list = DrawListDeriver(map, targets, walls, 170.0f, kHighestEye).DrawList(19);
    EXPECT_TRUE(Has(list, 1));
    EXPECT_FALSE(Has(list, 15));
    EXPECT_TRUE(Has(list, 16));
    EXPECT_FALSE(Has(list, 17));

    // Low enough, the wall is seen over.
    const std::vector<Occluder> low = {{{-20.0f, -10.0f}, {20.0f, -10.0f}, 1.0f}};
    EXPECT_TRUE(Has(DrawListDeriver(map, targets, low, 170.0f, kHighestEye).DrawList(19), 15));
    // A closer fog hides the point high up.
    EXPECT_FALSE(Has(DrawListDeriver(map, targets, walls, 100.0f, kHighestEye).DrawList(19), 16));
}
