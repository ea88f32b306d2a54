#include "tools/replay/Replay.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

// Each camera operation named as the viewer sees it, from any heading; several of one pass joined.
TEST(CameraMoves, NamesTheCameraOperationsAsTheViewerSeesThem)
{
    using Operation = std::function<void(CCamera&, CLevelMap&)>;
    const std::pair<const char*, Operation> cases[] = {
        {"-", [](CCamera&, CLevelMap&) {}},
        {"left", [](CCamera& c, CLevelMap& m) { c.StrafeLeft(m, 0.1f); }},
        {"right", [](CCamera& c, CLevelMap& m) { c.StrafeRight(m, 0.1f); }},
        {"forward", [](CCamera& c, CLevelMap& m) { c.WalkForward(m, 0.1f); }},
        {"back", [](CCamera& c, CLevelMap& m) { c.WalkBackward(m, 0.1f); }},
        {"rise", [](CCamera& c, CLevelMap&) { c.Rise(0.1f); }},
        {"descend", [](CCamera& c, CLevelMap&) { c.Descend(0.1f); }},
        {"turn-left", [](CCamera& c, CLevelMap&) { c.TurnLeft(0.005f); }},
        {"turn-right", [](CCamera& c, CLevelMap&) { c.TurnRight(0.005f); }},
        {"look-up", [](CCamera& c, CLevelMap&) { c.LookUp(0.002f); }},
        {"look-down", [](CCamera& c, CLevelMap&) { c.LookDown(0.002f); }},
        {"right+turn-left+look-up",
         [](CCamera& c, CLevelMap& m) { c.LookUp(0.002f), c.StrafeRight(m, 0.05f), c.TurnLeft(0.005f); }}};
    for (float heading : {0.0f, 0.6f, -2.0f})
        for (const auto& [moves, operation] : cases) {
            CLevelMap map;
            CCamera camera;
            camera.TurnRight(heading);
            const CameraPose before{camera.Eye(), camera.LookAt()};
            operation(camera, map);
            EXPECT_EQ(CameraMoves(before, {camera.Eye(), camera.LookAt()}), moves) << heading;
        }
}

TEST(Replay, LinesAsTextAndAsCsv)
{
    EXPECT_EQ(ReplayLine::Header(','),
              "frame,state,left_eye_x,left_eye_y,right_eye_x,right_eye_y,mouth_x,mouth_y,cost,yaw,"
              "pitch,eye_x,eye_y,eye_z,look_x,look_y,look_z,cell,moves");
    ReplayLine line{7, "detecting", {}, {}, {}, {}, {{0.0f, 2.5f, 0.0f}, {0.0f, 2.5f, 1.0f}}, 19, "-"};
    EXPECT_EQ(line.Format(' '), "7 detecting - - - - - - - - - 0.0000 2.5000 0.0000 0.0000 2.5000 1.0000 19 -");
    EXPECT_EQ(line.Format(','), "7,detecting,,,,,,,,,,0.0000,2.5000,0.0000,0.0000,2.5000,1.0000,19,-");
    line = {7,           "tracking", std::array<double, 6>{286.5, 193.25, 349.0, 193.0, 318.0, 255.5},
            0.9175,      -1,         2,
            line.camera, 19,         "right+look-up"};
    EXPECT_EQ(line.Format(','),
              "7,tracking,286.50,193.25,349.00,193.00,318.00,255.50,0.917,-1,2,0.0000,2.5000,0.0000,"
              "0.0000,2.5000,1.0000,19,right+look-up");
}
