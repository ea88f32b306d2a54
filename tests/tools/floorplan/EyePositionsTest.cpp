#include "tools/floorplan/EyePositions.h"

#include "world/CLevelMap.h"
#include "world/LevelGeometry.h"

#include <gtest/gtest.h>

// Every sample is a place the viewer can reach while the cell is the current one: inside it, or at
// most half a unit beyond one of its openings, never behind a wall.
TEST(EyePositions, StayWhereTheViewerCanBeWhileInTheCell)
{
    const CLevelMap map;
    for (int cell = 0; cell < CLevelMap::kCellCount; ++cell) {
        glm::vec2 centre(0.0f);
        for (const MapPoint* p : map.Cell(cell).corners)
            centre += glm::vec2(p->x, p->z) * 0.25f;
        const std::vector<glm::vec2> eyes = EyePositions(map, cell, 1.0f, 4.0f);
        ASSERT_FALSE(eyes.empty());
        for (const glm::vec2& eye : eyes) {
            EXPECT_LE(DistanceOutsideCell(map.Cell(cell), eye.x, eye.y), 0.5 + 1e-4) << cell;
            for (const WallSegment& wall : map.Walls())
                EXPECT_FALSE(PathCrossesWall(centre.x, centre.y, eye.x, eye.y, wall))
                    << cell << ": " << eye.x << ", " << eye.y;
        }
    }
}
