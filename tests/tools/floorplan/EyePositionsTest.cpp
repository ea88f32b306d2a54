#include "tools/floorplan/EyePositions.h"

#include "world/CLevelMap.h"
#include "world/LevelGeometry.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

glm::vec2 Centre(const CCell& cell)
{
    glm::vec2 centre(0.0f);
    for (const MapPoint* p : cell.corners)
        centre += glm::vec2(p->x, p->z) * 0.25f;
    return centre;
}

} // namespace

// Every sample is a place the viewer can reach while the cell is the current one: inside it, or
// at most half a unit beyond one of its openings, never behind a wall.
TEST(EyePositions, StayWhereTheViewerCanBeWhileInTheCell)
{
    const CLevelMap map;
    for (int cell = 0; cell < CLevelMap::kCellCount; ++cell) {
        const glm::vec2 centre = Centre(map.Cell(cell));
        const std::vector<glm::vec2> eyes = EyePositions(map, cell, 1.0f, 4.0f);
        ASSERT_FALSE(eyes.empty());
        for (const glm::vec2& eye : eyes) {
            EXPECT_LE(DistanceOutsideCell(map.Cell(cell), eye.x, eye.y), 0.5 + 1e-4) << cell;
            for (const WallSegment& wall : map.Walls())
                EXPECT_FALSE(PathCrossesWall(centre.x, centre.y, eye.x, eye.y, wall))
                    << "cell " << cell << " eye " << eye.x << ", " << eye.y;
        }
    }
}

TEST(EyePositions, CoverTheBoundaryTheOpeningsAndTheInside)
{
    const CLevelMap map;
    // Cell 19 is the rectangle x -7.5..8.25, z -3..3 with openings at top and bottom.
    const std::vector<glm::vec2> eyes = EyePositions(map, 19, 1.0f, 2.0f);
    auto count = [&](auto&& where) { return std::count_if(eyes.begin(), eyes.end(), where); };
    EXPECT_GE(count([](const glm::vec2& e) { return e.y > 3.0f; }), 16) << "beyond the top opening";
    EXPECT_GE(count([](const glm::vec2& e) { return e.y < -3.0f; }), 16) << "beyond the bottom opening";
    EXPECT_EQ(count([](const glm::vec2& e) { return e.x < -7.5f || e.x > 8.25f; }), 0) << "walls left and right";
    EXPECT_GE(count([](const glm::vec2& e) { return std::abs(e.x) < 7.0f && std::abs(e.y) < 2.5f; }), 12)
        << "inside";
    const int boundary = count([](const glm::vec2& e) { return std::abs(e.y) > 2.9f && std::abs(e.y) < 3.0f; });
    EXPECT_GE(boundary, 32) << "along the top and bottom sides, a unit apart";
}
