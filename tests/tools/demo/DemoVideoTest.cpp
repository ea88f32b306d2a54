#include "tools/replay/Replay.h"

#include "tests/support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <tuple>
#include <vector>

// The head steering once per frame of the demo video (as brumaria-replay does), with the default
// thresholds: found at once, followed to the end, out of the door into the yard and not back;
// walks, side-steps and turns both ways, never backwards, up or down; standing at the end. One
// line per frame, with the tracker's measures once it follows the face.
TEST(DemoVideo, TheRecordedHeadWalksThePlayerOutOfTheDoorAndAround)
{
    TemporaryFolder folder;
    Replay replay;
    EXPECT_FALSE(replay.Open("no-existe.avi", false));
    EXPECT_FALSE(replay.Step());
    ASSERT_TRUE(replay.Open(BRUMARIA_SOURCE_DIR "/data/demo/paseo.avi", false));
    EXPECT_DOUBLE_EQ(replay.FrameRate(), 25.0);
    std::vector<ReplayLine> lines;
    while (std::optional<ReplayLine> line = replay.Step())
        lines.push_back(*line);
    ASSERT_EQ(lines.size(), 625u);
    EXPECT_EQ(std::make_tuple(lines[0].state, lines[0].features.has_value(), lines[0].cost.has_value()),
              std::make_tuple("found", true, false));
    std::map<std::string, int> moveCount;
    std::vector<int> cells;
    for (const ReplayLine& line : lines) {
        if (line.frame > 0) {
            EXPECT_EQ(std::make_tuple(line.state, line.cost.has_value(), line.yaw.has_value(), line.pitch.has_value()),
                      std::make_tuple("tracking", true, true, true))
                << "frame " << line.frame;
        }
        std::istringstream moves(line.moves);
        for (std::string move; std::getline(moves, move, '+');)
            ++moveCount[move];
        if (cells.empty() || cells.back() != line.cell)
            cells.push_back(line.cell);
    }
    EXPECT_EQ(cells, (std::vector<int>{19, 1}));
    for (const char* move : {"forward", "left", "right", "turn-left", "turn-right"})
        EXPECT_GT(moveCount[move], 30) << move;
    for (const char* move : {"back", "rise", "descend"})
        EXPECT_EQ(moveCount[move], 0) << move;
    EXPECT_GT(lines.back().camera.eye.z, 20.0f);
    EXPECT_NEAR(lines.back().camera.eye.y, 2.5f, 1e-4f);
    EXPECT_EQ(lines.back().moves, "-");
    // Like the program, it wrote its files in the working directory.
    EXPECT_TRUE(std::filesystem::exists("configuracion"));
    EXPECT_TRUE(std::filesystem::exists("muestrasPosX.m"));
}
