#include "tests/support/world/LevelInvariants.h"

#include "world/CCamera.h"
#include "world/CLevelMap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace level_invariants;

// Random steering from the start: keyboard amounts and the small amounts of head steering, every
// direction. No allowed step passes through a wall, and the eye stays within 6 of its cell. With
// a pitched and rolled view, the view's horizontal part (and with it the ground steps) is longer.
TEST(RandomWalk, NoStepPassesThroughAWallAndTheEyeStaysByItsCell)
{
    int mostCells = 0;
    for (unsigned seed = 1; seed <= 6; ++seed) {
        SCOPED_TRACE(seed);
        const bool wideView = seed > 4;
        CLevelMap map;
        const std::vector<WallStretch> walls = WallStretches(map);
        CCamera camera;
        std::mt19937 random(seed);
        std::uniform_real_distribution<float> unit(0.0f, 1.0f);
        if (wideView) {
            camera.TurnRight(1.5707964f);
            for (int round = 0; round < 6; ++round) {
                for (int k = 0; k < 21; ++k)
                    camera.LookUp(0.05f);
                for (int k = 0; k < 9; ++k)
                    camera.RotateZNegative(0.1f);
            }
        }
        std::vector<bool> visited(CLevelMap::kCellCount, false);
        int moved = 0, refused = 0;
        for (int i = 0; i < 15000; ++i) {
            const glm::vec3 before = camera.Eye();
            const int choice = static_cast<int>(unit(random) * (wideView ? 10.2f : 10.0f));
            const float small = unit(random) < 0.5f ? 0.1f : unit(random) * 0.1f;
            switch (choice) {
            case 0:
            case 1:
            case 2: camera.WalkForward(map, 1.0f); break;
            case 3: camera.WalkBackward(map, 1.0f); break;
            case 4: camera.WalkForward(map, unit(random) * 3.5f); break;
            case 5: camera.WalkBackward(map, unit(random) * 1.5f); break;
            case 6: camera.StrafeLeft(map, small); break;
            case 7: camera.StrafeRight(map, small); break;
            case 8: camera.TurnLeft(unit(random) < 0.5f ? 0.05f : unit(random)); break;
            case 9: camera.TurnRight(unit(random) < 0.5f ? 0.05f : unit(random)); break;
            default: camera.LookUp(0.05f); break;
            }
            const glm::vec3 after = camera.Eye();
            if (after.x != before.x || after.z != before.z) {
                ++moved;
                for (const WallStretch& wall : walls)
                    ASSERT_FALSE(
                        PassesThrough(before.x, before.z, after.x, after.z, wall.a.x, wall.a.z, wall.b.x, wall.b.z))
                        << "step " << i << " from (" << before.x << ", " << before.z << ") to (" << after.x << ", "
                        << after.z << ") passes through a wall of cell " << wall.cell;
            } else if (choice <= 7) {
                ++refused;
            }
            const int cell = map.GetCurrentCell();
            visited[cell] = true;
            ASSERT_LE(OutsideDistance(map.Cell(cell), after.x, after.z), 6.0)
                << "step " << i << ": eye (" << after.x << ", " << after.z << ") outside its cell " << cell;
        }
        EXPECT_GT(moved, wideView ? 2000 : 5000);
        EXPECT_GT(refused, wideView ? 500 : 100) << "the walls were met";
        mostCells = std::max(mostCells, static_cast<int>(std::count(visited.begin(), visited.end(), true)));
    }
    EXPECT_GT(mostCells, 5) << "the walks left the church";
}
