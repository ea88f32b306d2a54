#include "tools/contentgen/LevelLayout.h"
#include "tools/contentviews/CameraRoute.h"
#include "world/CCamera.h"
#include "world/CLevelMap.h"

#include <gtest/gtest.h>

#include <glm/geometric.hpp>

// From the church door to the crypt's hall, through a dozen openings, step by step as a player
// walks: the map follows the eye into the right cell.
TEST(CameraRoute, WalksFromTheStartToTheCryptThroughTheOpenings)
{
    CLevelMap map;
    CCamera camera;
    const LevelLayout layout(map);
    std::string error;
    const glm::vec2 hall(165.0f, 230.0f);
    ASSERT_TRUE(CameraRoute(layout).WalkTo(camera, map, hall, error)) << error;
    EXPECT_NEAR(camera.Eye().x, hall.x, 0.06f);
    EXPECT_NEAR(camera.Eye().z, hall.y, 0.06f);
    EXPECT_FLOAT_EQ(camera.Eye().y, 2.5f);
    EXPECT_EQ(map.GetCurrentCell(), layout.CellAt(hall));
}

TEST(CameraRoute, FacesATargetAsFarAsTheCameraTilts)
{
    CLevelMap map;
    CCamera camera;
    CameraRoute::Face(camera, {-10.0f, 2.5f, 0.0f});
    EXPECT_NEAR(camera.LookAt().x - camera.Eye().x, -1.0f, 1e-4f);
    EXPECT_NEAR(camera.LookAt().z - camera.Eye().z, 0.0f, 1e-4f);
    EXPECT_NEAR(camera.LookAt().y - camera.Eye().y, 0.0f, 0.03f);
    // Straight up is more than the camera can look: it stops at its bound, about 45 degrees.
    CameraRoute::Face(camera, {0.0f, 100.0f, 1.0f});
    EXPECT_GT(camera.LookAt().y - camera.Eye().y, 0.99f);
    EXPECT_LT(camera.LookAt().y - camera.Eye().y, 1.06f);
}

TEST(CameraRoute, RefusesPlacesNoCellHolds)
{
    CLevelMap map;
    CCamera camera;
    const LevelLayout layout(map);
    std::string error;
    EXPECT_FALSE(CameraRoute(layout).WalkTo(camera, map, {243.0f, 390.0f}, error)); // inside the keep
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(map.GetCurrentCell(), CLevelMap::kStartCell);
    EXPECT_FLOAT_EQ(camera.Eye().x, 0.0f);
}
