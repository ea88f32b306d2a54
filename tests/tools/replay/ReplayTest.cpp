#include "tools/replay/Replay.h"

#include "tests/support/TemporaryFolder.h"
#include "tests/support/tracking/HeadScenes.h"

#include <gtest/gtest.h>

#include <filesystem>
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

TEST(Replay, OneLinePerCapturedFrameWithTheTrackerAndTheCamera)
{
    TemporaryFolder folder;
    std::string error;
    const std::optional<MotionScript> script = MotionScript::Parse("still:8,left", error);
    ASSERT_TRUE(script) << error;
    ASSERT_TRUE(headscenes::Writer().Write(*script, "cara.avi", "cara.csv", error)) << error;
    Replay replay;
    EXPECT_FALSE(replay.Open("no-existe.avi", true));
    EXPECT_FALSE(replay.Step());
    ASSERT_TRUE(replay.Open("cara.avi", false));
    EXPECT_DOUBLE_EQ(replay.FrameRate(), 25.0);
    std::vector<ReplayLine> lines;
    while (std::optional<ReplayLine> line = replay.Step())
        lines.push_back(*line);
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(script->Frames()));
    EXPECT_EQ(std::make_tuple(lines[0].state, lines[0].features.has_value(), lines[0].cost.has_value(), lines[0].cell,
                              lines[0].moves),
              std::make_tuple("found", true, false, 19, "-"));
    int right = 0;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        EXPECT_EQ(std::make_tuple(lines[i].frame, lines[i].state, lines[i].cost.has_value(), lines[i].yaw.has_value(),
                                  lines[i].pitch.has_value()),
                  std::make_tuple(int(i), "tracking", true, true, true));
        right +=
            lines[i].moves.find("right") != std::string::npos && lines[i].moves.find("turn-right") == std::string::npos;
    }
    // The face went left in the picture: the viewer side-stepped to the right.
    EXPECT_GT(right, 20);
    EXPECT_GT(lines.back().camera.eye.x, 0.5f);
    // Like the program, it wrote its files in the working directory.
    EXPECT_TRUE(std::filesystem::exists("configuracion"));
    EXPECT_TRUE(std::filesystem::exists("muestrasPosX.m"));
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
