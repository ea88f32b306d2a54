#include "tools/replay/Replay.h"

#include "tests/tracking/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>
#include <vector>

namespace {

constexpr const char* kDemoVideo = BRUMARIA_SOURCE_DIR "/data/demo/paseo.avi";

std::set<std::string> Moves(const std::string& joined)
{
    std::set<std::string> moves;
    std::istringstream items(joined);
    std::string move;
    while (std::getline(items, move, '+'))
        moves.insert(move);
    return moves;
}

// The head steering once per frame of the demo video (as brumaria-replay does), with the
// default thresholds.
TEST(DemoVideo, TheRecordedHeadWalksThePlayerOutOfTheDoorAndAround)
{
    TemporaryFolder folder;
    Replay replay;
    ASSERT_TRUE(replay.Open(kDemoVideo, false)) << kDemoVideo;
    EXPECT_DOUBLE_EQ(replay.FrameRate(), 25.0);
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
        for (const std::string& move : Moves(line.moves))
            ++moveCount[move];
        if (cells.empty() || cells.back() != line.cell)
            cells.push_back(line.cell);
    }
    // Out of the door cell into the yard, and not back.
    EXPECT_EQ(cells, (std::vector<int>{19, 1}));
    // Walks, side-steps both ways and turns both ways; never backwards, up or down.
    for (const char* move : {"forward", "left", "right", "turn-left", "turn-right"})
        EXPECT_GT(moveCount[move], 30) << move;
    for (const char* move : {"back", "rise", "descend"})
        EXPECT_EQ(moveCount[move], 0) << move;
    // Well into the yard, standing at the end.
    const CameraPose& end = lines.back().camera;
    EXPECT_GT(end.eye.z, 20.0f);
    EXPECT_NEAR(end.eye.y, 2.5f, 1e-4f);
    EXPECT_EQ(lines.back().moves, "-");
}

}  // namespace
