#include "tools/replay/Replay.h"

#include "tests/support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <vector>

// The head steering once per frame of the demo video (as brumaria-replay does), with the default
// thresholds: found at once, followed to the end, out of the door into the yard and not back;
// walks, side-steps and turns both ways, never backwards, up or down; standing at the end.
TEST(DemoVideo, TheRecordedHeadWalksThePlayerOutOfTheDoorAndAround)
{
    TemporaryFolder folder;
    Replay replay;
    ASSERT_TRUE(replay.Open(BRUMARIA_SOURCE_DIR "/data/demo/paseo.avi", false));
    std::vector<ReplayLine> lines;
    while (std::optional<ReplayLine> line = replay.Step())
        lines.push_back(*line);
    ASSERT_EQ(lines.size(), 625u);
    EXPECT_EQ(lines[0].state, "found");
    std::map<std::string, int> moveCount;
    std::vector<int> cells;
    for (const ReplayLine& line : lines) {
        if (line.frame > 0) {
            EXPECT_EQ(line.state, "tracking") << "frame " << line.frame;
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
}
