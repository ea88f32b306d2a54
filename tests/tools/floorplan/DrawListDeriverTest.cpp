#include "tools/floorplan/DrawListDeriver.h"

#include "world/CLevelMap.h"

#include <gtest/gtest.h>

#include <algorithm>

// From the door (cell 19, x -7.5..8.25, z -3..3): a model shows within reach past the walls; the
// list holds, sorted, the sky and the models around the cell whatever is seen.
TEST(DrawListDeriver, ListsAModelThatShowsWithinReachPastTheWalls)
{
    const CLevelMap map;
    std::vector<std::vector<glm::vec3>> targets(23);
    targets[14] = {{0.0f, 0.0f, 20.0f}};  // on the ground north of the door, in cell 1
    targets[15] = {{0.0f, 0.0f, -20.0f}};  // south of it, in cell 0
    targets[16] = {{0.0f, 50.0f, 150.0f}};  // high in the air far north
    targets[17] = {{0.0f, 1.0f, 300.0f}};  // beyond reach
    // A wall across the way south, higher than any eye; then one low enough to see over.
    const std::vector<Occluder> high = {{{-20.0f, -10.0f}, {20.0f, -10.0f}, 6.0f}};
    const std::vector<Occluder> low = {{{-20.0f, -10.0f}, {20.0f, -10.0f}, 1.0f}};
    const std::vector<int> list = DrawListDeriver(map, targets, high, 170.0f, kHighestEye).DrawList(19);
    auto has = [](const std::vector<int>& l, int model) { return std::find(l.begin(), l.end(), model) != l.end(); };
    EXPECT_TRUE(std::is_sorted(list.begin(), list.end()));
    for (int model : {0, 3, 4, 14, 16})
        EXPECT_TRUE(has(list, model)) << model;
    EXPECT_FALSE(has(list, 15));
    EXPECT_FALSE(has(list, 17));
    EXPECT_TRUE(has(DrawListDeriver(map, targets, low, 170.0f, kHighestEye).DrawList(19), 15));
    EXPECT_FALSE(has(DrawListDeriver(map, targets, high, 100.0f, kHighestEye).DrawList(19), 16)) << "a closer fog";
}
