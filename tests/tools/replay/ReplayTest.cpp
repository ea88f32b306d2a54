#include "tools/replay/Replay.h"

#include "tests/tracking/HeadScenes.h"
#include "tests/tracking/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace headscenes;

namespace {

std::vector<std::string> Fields(const std::string& line, char separator)
{
    std::vector<std::string> fields(1);
    for (char c : line) {
        if (c == separator)
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

}

TEST(Replay, OneLinePerCapturedFrameWithTheTrackerAndTheCamera)
{
    TemporaryFolder folder;
    std::string error;
    const std::optional<MotionScript> script = MotionScript::Parse("still:8,left", error);
    ASSERT_TRUE(script) << error;
    ASSERT_TRUE(Writer().Write(*script, "cara.avi", "cara.csv", error)) << error;

    std::vector<ReplayLine> lines;
    {
        Replay replay;
        ASSERT_TRUE(replay.Open("cara.avi", false));
        EXPECT_DOUBLE_EQ(replay.FrameRate(), 25.0);
        while (std::optional<ReplayLine> line = replay.Step())
            lines.push_back(*line);
    }
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(script->Frames()));
    EXPECT_EQ(lines[0].frame, 0);
    EXPECT_EQ(lines[0].state, "found");
    ASSERT_TRUE(lines[0].features);
    EXPECT_FALSE(lines[0].cost);
    EXPECT_EQ(lines[0].cell, 19);
    EXPECT_EQ(lines[0].moves, "-");
    for (std::size_t i = 1; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].frame, static_cast<int>(i));
        EXPECT_EQ(lines[i].state, "tracking") << i;
        EXPECT_TRUE(lines[i].cost && lines[i].yaw && lines[i].pitch) << i;
    }
    // The face went left in the picture: the viewer side-stepped to the right.
    int right = 0;
    for (const ReplayLine& line : lines)
        right += line.moves.find("right") != std::string::npos && line.moves.find("turn-right") == std::string::npos;
    EXPECT_GT(right, 20);
    EXPECT_GT(lines.back().camera.eye.x, 0.5f);

    // Like the program, it wrote its files in the working directory.
    EXPECT_TRUE(std::filesystem::exists("configuracion"));
    EXPECT_TRUE(std::filesystem::exists("muestrasPosX.m"));
}

TEST(Replay, LinesAsTextAndAsCsv)
{
    EXPECT_EQ(ReplayLine::Header(','),
              "frame,state,eye1_x,eye1_y,eye2_x,eye2_y,mouth_x,mouth_y,cost,yaw,pitch,eye_x,eye_y,"
              "eye_z,look_x,look_y,look_z,cell,moves");
    ReplayLine line;
    line.frame = 7;
    line.state = "detecting";
    line.camera = {{0.0f, 2.5f, 0.0f}, {0.0f, 2.5f, 1.0f}};
    line.cell = 19;
    line.moves = "-";
    EXPECT_EQ(line.Format(' '), "7 detecting - - - - - - - - - 0.0000 2.5000 0.0000 0.0000 2.5000 1.0000 19 -");
    EXPECT_EQ(line.Format(','), "7,detecting,,,,,,,,,,0.0000,2.5000,0.0000,0.0000,2.5000,1.0000,19,-");

    line.state = "tracking";
    line.features = std::array<double, 6>{286.5, 193.25, 349.0, 193.0, 318.0, 255.5};
    line.cost = 0.9175;
    line.yaw = -1;
    line.pitch = 2;
    line.moves = "right+look-up";
    const std::vector<std::string> fields = Fields(line.Format(','), ',');
    ASSERT_EQ(fields.size(), 19u);
    EXPECT_EQ(fields[2], "286.50");
    EXPECT_EQ(fields[3], "193.25");
    EXPECT_EQ(fields[8], "0.917");
    EXPECT_EQ(fields[9], "-1");
    EXPECT_EQ(fields[10], "2");
    EXPECT_EQ(fields[18], "right+look-up");
}

TEST(Replay, AFileThatCannotBeOpenedIsSaid)
{
    TemporaryFolder folder;
    Replay replay;
    EXPECT_FALSE(replay.Open("no-existe.avi", true));
    EXPECT_FALSE(replay.Step());
}
