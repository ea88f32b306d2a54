#include "LevelInvariants.h"

#include "world/CCamera.h"
#include "world/CLevelMap.h"

#include <gtest/gtest.h>

#include <random>

using namespace level_invariants;

namespace {

struct WalkStats {
    int steps = 0;
    int moved = 0;
    int refused = 0;
    int cellsVisited = 0;
};

// Random steering of a camera from the start: keyboard amounts and the small amounts of head
// steering, turning all the way round. With `wideView`, the view is also pitched and rolled,
// which lengthens the view's horizontal part and with it the ground steps.
WalkStats RandomWalk(unsigned seed, int steps, bool wideView)
{
    CLevelMap map;
    CCamera camera;
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    std::vector<bool> visited(CLevelMap::kCellCount, false);
    WalkStats stats;
    if (wideView) {
        // Pitch up and roll the pitch into the view's horizontal part, over and over.
        camera.TurnRight(1.5707964f);
        for (int round = 0; round < 6; ++round) {
            for (int k = 0; k < 21; ++k)
                camera.LookUp(0.05f);
            for (int k = 0; k < 9; ++k)
                camera.RotateZNegative(0.1f);
        }
    }
    for (int i = 0; i < steps; ++i) {
        const glm::vec3 before = camera.Eye();
        const int choice = static_cast<int>(unit(random) * (wideView ? 10.2f : 10.0f));
        switch (choice) {
        case 0: case 1: case 2: camera.WalkForward(map, 1.0f); break;
        case 3: camera.WalkBackward(map, 1.0f); break;
        case 4: camera.WalkForward(map, unit(random) * 3.5f); break;
        case 5: camera.WalkBackward(map, unit(random) * 1.5f); break;
        case 6: camera.StrafeLeft(map, unit(random) < 0.5f ? 0.1f : unit(random) * 0.1f); break;
        case 7: camera.StrafeRight(map, unit(random) < 0.5f ? 0.1f : unit(random) * 0.1f); break;
        case 8: camera.TurnLeft(unit(random) < 0.5f ? 0.05f : unit(random) * 1.0f); break;
        case 9: camera.TurnRight(unit(random) < 0.5f ? 0.05f : unit(random) * 1.0f); break;
        case 10: camera.LookUp(0.05f); break;
        case 11: camera.LookDown(0.05f); break;
        case 12: camera.RotateZNegative(0.1f); break;
        default: camera.RotateZPositive(0.1f); break;
        }
        ++stats.steps;
        const glm::vec3 after = camera.Eye();
        if (after.x != before.x || after.z != before.z) {
            ++stats.moved;
            for (const WallSegment& wall : map.Walls()) {
                if (PassesThrough(before.x, before.z, after.x, after.z, wall.a.x, wall.a.z, wall.b.x, wall.b.z)) {
                    ADD_FAILURE() << "step " << i << " from (" << before.x << ", " << before.z << ") to (" << after.x
                                  << ", " << after.z << ") passes through the wall of cell " << wall.cell;
                    return stats;
                }
            }
        } else if (choice <= 7) {
            ++stats.refused;
        }
        const int cell = map.GetCurrentCell();
        visited[cell] = true;
        const double outside = OutsideDistance(map.Cell(cell), after.x, after.z);
        if (!(outside <= 6.0)) {
            ADD_FAILURE() << "step " << i << ": eye (" << after.x << ", " << after.z << ") is " << outside
                          << " outside its cell " << cell;
            return stats;
        }
    }
    for (bool v : visited)
        stats.cellsVisited += v;
    return stats;
}

}  // namespace

TEST(RandomWalk, NoStepPassesThroughAWallAndTheEyeStaysByItsCell)
{
    int cells = 0;
    for (unsigned seed = 1; seed <= 4; ++seed) {
        const WalkStats stats = RandomWalk(seed, 15000, false);
        EXPECT_GT(stats.moved, 5000);
        EXPECT_GT(stats.refused, 100) << "the walls were met";
        cells = std::max(cells, stats.cellsVisited);
    }
    EXPECT_GT(cells, 5) << "the walks left the church";
}

TEST(RandomWalk, LongViewsStillStopAtWalls)
{
    for (unsigned seed = 11; seed <= 12; ++seed) {
        const WalkStats stats = RandomWalk(seed, 15000, true);
        EXPECT_GT(stats.moved, 2000);
        EXPECT_GT(stats.refused, 500);
    }
}
