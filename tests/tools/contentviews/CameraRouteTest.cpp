#include "tools/contentviews/CameraRoute.h"
#include "tools/contentgen/LevelLayout.h"
#include "world/CCamera.h"
#include "world/CLevelMap.h"

#include <gtest/gtest.h>

// From the church door to the crypt's hall, through a dozen openings, step by step as a player
// walks: the map follows the eye into the right cell. No route leads into a tower.
TEST(CameraRoute, WalksFromTheStartToTheCryptThroughTheOpenings)
{
    CLevelMap map;
    CCamera camera;
    const LevelLayout layout(map);
    std::string error;
    EXPECT_FALSE(CameraRoute(layout).WalkTo(camera, map, {243.0f, 390.0f}, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(map.GetCurrentCell(), CLevelMap::kStartCell);
    EXPECT_EQ(camera.Eye().x, 0.0f);
    const glm::vec2 hall(165.0f, 230.0f);
    ASSERT_TRUE(CameraRoute(layout).WalkTo(camera, map, hall, error)) << error;
    EXPECT_NEAR(camera.Eye().x, hall.x, 0.06f);
    EXPECT_NEAR(camera.Eye().z, hall.y, 0.06f);
    EXPECT_EQ(map.GetCurrentCell(), layout.CellAt(hall));
}
