#include "world/CCamera.h"
#include "world/CLevelMap.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

void ExpectVec(const glm::vec3& v, float x, float y, float z, float tolerance = 1e-5f)
{
    EXPECT_NEAR(v.x, x, tolerance);
    EXPECT_NEAR(v.y, y, tolerance);
    EXPECT_NEAR(v.z, z, tolerance);
}

}  // namespace

TEST(CCamera, StartsInTheStartPoseAndIsTheCurrentOne)
{
    ASSERT_EQ(CCamera::Current(), nullptr);
    {
        CCamera camera;
        EXPECT_EQ(CCamera::Current(), &camera);
        ExpectVec(camera.Eye(), 0, 2.5f, 0, 0);
        ExpectVec(camera.LookAt(), 0, 2.5f, 1, 0);
        ExpectVec(camera.Up(), 0, 1, 0, 0);
        ExpectVec(camera.Side(), 0, 0, 0, 0);
        {
            CCamera second;
            EXPECT_EQ(CCamera::Current(), &second);
        }
        EXPECT_EQ(CCamera::Current(), nullptr) << "the destroyed camera was the current one";
    }
    // A camera that is no longer the current one leaves the current one alone.
    CCamera* first = new CCamera;
    CCamera second;
    delete first;
    EXPECT_EQ(CCamera::Current(), &second);
}

TEST(CCamera, TurningRightAQuarterThenWalkingGoesEast)
{
    CLevelMap map;
    CCamera camera;
    camera.TurnRight(static_cast<float>(M_PI / 2));
    ExpectVec(camera.LookAt(), 1, 2.5f, 0);
    camera.TurnLeft(0.05f);
    camera.TurnRight(0.05f);
    ExpectVec(camera.LookAt(), 1, 2.5f, 0);
    camera.WalkForward(map, 1.0f);
    ExpectVec(camera.Eye(), 1, 2.5f, 0);
    EXPECT_EQ(map.GetCurrentCell(), 19);
}

TEST(CCamera, LongWalksAreClampedToThreeSteps)
{
    CLevelMap map;
    CCamera camera;
    camera.WalkForward(map, 10.0f);
    ExpectVec(camera.Eye(), 0, 2.5f, 3, 0);
    camera.WalkBackward(map, 10.0f);
    ExpectVec(camera.Eye(), 0, 2.5f, 0, 0);
    camera.WalkForward(map, std::numeric_limits<float>::quiet_NaN());
    ExpectVec(camera.Eye(), 0, 2.5f, 3, 0);  // a NaN step counts as a long one
    camera.WalkBackward(map, std::numeric_limits<float>::quiet_NaN());
    ExpectVec(camera.Eye(), 0, 2.5f, 0, 0);
    camera.WalkBackward(map, 2.0f);
    ExpectVec(camera.Eye(), 0, 2.5f, -2, 0);
    EXPECT_EQ(map.GetCurrentCell(), 19);
}

TEST(CCamera, SideStepsGoLeftAndBack)
{
    CLevelMap map;
    CCamera camera;
    camera.Strafe(map, 0.1f);
    ExpectVec(camera.Eye(), -0.1f, 2.5f, 0);
    ExpectVec(camera.LookAt(), -0.1f, 2.5f, 1);
    ExpectVec(camera.Side(), -1, 0, 0, 0);
    camera.StrafeRight(map, 0.1f);
    ExpectVec(camera.Eye(), 0, 2.5f, 0);
    camera.StrafeLeft(map, 0.1f);
    ExpectVec(camera.Eye(), -0.1f, 2.5f, 0);
}

// Ground steps ask the map: refused steps change nothing, taken ones move its current cell.
TEST(CCamera, GroundStepsGoThroughTheMap)
{
    CLevelMap map;
    CCamera camera;
    camera.TurnRight(static_cast<float>(M_PI / 2));
    for (int i = 0; i < 8; ++i)
        camera.WalkForward(map, 1.0f);
    ExpectVec(camera.Eye(), 8, 2.5f, 0, 1e-4f);
    const glm::vec3 eye = camera.Eye(), lookAt = camera.LookAt();
    camera.WalkForward(map, 1.0f);  // into the door's jamb
    EXPECT_EQ(camera.Eye(), eye);
    EXPECT_EQ(camera.LookAt(), lookAt);
    camera.StrafeLeft(map, 4.0f);   // north, through the doorway
    EXPECT_EQ(map.GetCurrentCell(), 1);
    ExpectVec(camera.Eye(), 8, 2.5f, 4, 1e-4f);
}

TEST(CCamera, LookingUpAndDownStopsAfterOneStepPastTheBound)
{
    CCamera camera;
    for (int i = 0; i < 20; ++i)
        camera.LookUp(0.05f);
    EXPECT_LT(static_cast<double>(camera.LookAt().y) - camera.Eye().y, 1.0) << "twenty steps stay just below";
    camera.LookUp(0.05f);
    const float up = camera.LookAt().y;
    EXPECT_NEAR(up - camera.Eye().y, 1.05f, 1e-5f);
    camera.LookUp(0.05f);
    EXPECT_EQ(camera.LookAt().y, up);
    camera.Reset();
    for (int i = 0; i < 30; ++i)
        camera.LookDown(0.05f);
    EXPECT_NEAR(camera.LookAt().y - camera.Eye().y, -1.05f, 1e-5f);
}

TEST(CCamera, LevelViewStepsBackOutsideItsDeadZone)
{
    CCamera camera;
    camera.LookUp(0.0105f);
    camera.LevelView();
    EXPECT_NEAR(camera.LookAt().y - camera.Eye().y, 0.0055f, 1e-6f);
    camera.LevelView();
    EXPECT_NEAR(camera.LookAt().y - camera.Eye().y, 0.0055f, 1e-6f) << "inside the dead zone";
    camera.Reset();
    camera.LookDown(0.0105f);
    camera.LevelView();
    EXPECT_NEAR(camera.LookAt().y - camera.Eye().y, -0.0055f, 1e-6f);
    // Exactly 0.01 (as the difference of the stored floats, in double) is not beyond it.
    camera.Reset();
    camera.Rise(-2.5f);
    camera.LookUp(0.01f);
    const float before = camera.LookAt().y;
    ASSERT_GT(static_cast<double>(before) - camera.Eye().y, 0.0099);
    if (static_cast<double>(before) - camera.Eye().y <= 0.01) {
        camera.LevelView();
        EXPECT_EQ(camera.LookAt().y, before);
    }
}

TEST(CCamera, RisingAndDescendingStopAfterOneStepPastTheBound)
{
    CCamera camera;
    camera.Rise(2.45f);
    EXPECT_FLOAT_EQ(camera.Eye().y, 4.95f);
    camera.Rise(0.1f);
    EXPECT_NEAR(camera.Eye().y, 5.05f, 1e-5f);
    EXPECT_NEAR(camera.LookAt().y, 5.05f, 1e-5f);
    camera.Rise(0.1f);
    EXPECT_NEAR(camera.Eye().y, 5.05f, 1e-5f);
    camera.Reset();
    for (int i = 0; i < 40; ++i)
        camera.Descend(0.1f);
    EXPECT_LT(camera.Eye().y, 0.0f);
    EXPECT_GT(camera.Eye().y, -0.1f);
    camera.Rise(std::numeric_limits<float>::quiet_NaN());
    EXPECT_TRUE(std::isnan(camera.Eye().y));
    camera.Rise(1.0f);
    camera.Descend(1.0f);
    EXPECT_TRUE(std::isnan(camera.Eye().y)) << "comparisons with NaN are false";
}

TEST(CCamera, RollingAboutTheViewAxisLeavesAStraightViewAlone)
{
    CCamera camera;
    camera.RotateZPositive(0.1f);
    ExpectVec(camera.LookAt(), 0, 2.5f, 1, 0);
    camera.TurnRight(static_cast<float>(M_PI / 2));
    camera.RotateZPositive(0.1f);
    EXPECT_NEAR(camera.LookAt().y - camera.Eye().y, std::sin(0.1f), 1e-5f);
    EXPECT_NEAR(camera.LookAt().x - camera.Eye().x, std::cos(0.1f), 1e-5f);
    camera.RotateZNegative(0.1f);
    ExpectVec(camera.LookAt(), 1, 2.5f, 0);
}

TEST(CCamera, ResetRestoresTheStartPose)
{
    CLevelMap map;
    CCamera camera;
    camera.TurnLeft(0.3f);
    camera.StrafeLeft(map, 0.5f);
    camera.Rise(1.0f);
    camera.LookUp(0.2f);
    camera.Reset();
    ExpectVec(camera.Eye(), 0, 2.5f, 0, 0);
    ExpectVec(camera.LookAt(), 0, 2.5f, 1, 0);
    ExpectVec(camera.Side(), 0, 0, 0, 0);
}
