#include "tools/replay/CameraMoves.h"

#include "world/CCamera.h"
#include "world/CLevelMap.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

CameraPose PoseOf(const CCamera& camera)
{
    return {camera.Eye(), camera.LookAt()};
}

// The moves named for one camera operation, from the start pose and from a turned pose.
std::string MovesOf(const std::function<void(CCamera&, CLevelMap&)>& operation, float heading)
{
    CLevelMap map;
    CCamera camera;
    camera.TurnRight(heading);
    const CameraPose before = PoseOf(camera);
    operation(camera, map);
    return CameraMoves(before, PoseOf(camera));
}

}

TEST(CameraMoves, NamesEachCameraOperationAsTheViewerSeesIt)
{
    for (float heading : {0.0f, 0.6f, -2.0f}) {
        EXPECT_EQ(MovesOf([](CCamera&, CLevelMap&) {}, heading), "-");
        EXPECT_EQ(MovesOf([](CCamera& c, CLevelMap& m) { c.StrafeLeft(m, 0.1f); }, heading), "left");
        EXPECT_EQ(MovesOf([](CCamera& c, CLevelMap& m) { c.StrafeRight(m, 0.1f); }, heading), "right");
        EXPECT_EQ(MovesOf([](CCamera& c, CLevelMap& m) { c.WalkForward(m, 0.1f); }, heading), "forward");
        EXPECT_EQ(MovesOf([](CCamera& c, CLevelMap& m) { c.WalkBackward(m, 0.1f); }, heading), "back");
        EXPECT_EQ(MovesOf([](CCamera& c, CLevelMap&) { c.Rise(0.1f); }, heading), "rise");
        EXPECT_EQ(MovesOf([](CCamera& c, CLevelMap&) { c.Descend(0.1f); }, heading), "descend");
        EXPECT_EQ(MovesOf([](CCamera& c, CLevelMap&) { c.TurnLeft(0.005f); }, heading), "turn-left");
        EXPECT_EQ(MovesOf([](CCamera& c, CLevelMap&) { c.TurnRight(0.005f); }, heading), "turn-right");
        EXPECT_EQ(MovesOf([](CCamera& c, CLevelMap&) { c.LookUp(0.002f); }, heading), "look-up");
        EXPECT_EQ(MovesOf([](CCamera& c, CLevelMap&) { c.LookDown(0.002f); }, heading), "look-down");
    }
}

TEST(CameraMoves, JoinsSeveralMovesOfOnePass)
{
    EXPECT_EQ(MovesOf(
                  [](CCamera& c, CLevelMap& m) {
                      c.LookUp(0.002f);
                      c.StrafeRight(m, 0.05f);
                      c.TurnLeft(0.005f);
                  },
                  0.0f),
              "right+turn-left+look-up");
}
