#include "bench/latency/MoveOnsets.h"

#include <gtest/gtest.h>

namespace {

// Frames grabbed at 40 ms intervals, each in hand 3 ms after its grab began.
std::vector<GrabTime> Grabs(int count)
{
    std::vector<GrabTime> grabs;
    for (int i = 0; i < count; ++i)
        grabs.push_back({i, 40.0 * i, 40.0 * i + 3.0});
    return grabs;
}

LoopPass Pass(int grabs, bool moved, double moveMs = 0.0)
{
    return {grabs, moved, moveMs, moveMs + 1.0, moveMs + 20.0};
}

TEST(MoveOnsets, AMoveInTheGrabbingPassIsZeroPassesLate)
{
    const std::vector<LoopPass> passes{Pass(1, false), Pass(1, false), Pass(2, true, 44.5), Pass(2, true, 60.0)};
    const std::vector<MoveOnset> onsets = FindMoveOnsets(passes, Grabs(2));
    ASSERT_EQ(onsets.size(), 1u);
    EXPECT_EQ(onsets[0].frame, 1);
    EXPECT_EQ(onsets[0].passesAfterGrab, 0);
    EXPECT_DOUBLE_EQ(onsets[0].grabToMoveMs, 1.5);
    EXPECT_DOUBLE_EQ(onsets[0].grabToDrawnMs, 2.5);
    EXPECT_DOUBLE_EQ(onsets[0].grabToShownMs, 21.5);
}

TEST(MoveOnsets, AMoveBetweenCapturesCountsThePassesSinceTheLastGrab)
{
    const std::vector<LoopPass> passes{Pass(1, false), Pass(2, false), Pass(2, false), Pass(2, true, 70.0)};
    const std::vector<MoveOnset> onsets = FindMoveOnsets(passes, Grabs(2));
    ASSERT_EQ(onsets.size(), 1u);
    EXPECT_EQ(onsets[0].frame, 1);
    EXPECT_EQ(onsets[0].passesAfterGrab, 2);
    EXPECT_DOUBLE_EQ(onsets[0].grabToMoveMs, 27.0);
}

TEST(MoveOnsets, OnlyMovesAfterAStillPassStart)
{
    const std::vector<LoopPass> passes{Pass(1, true, 5.0), Pass(2, true, 45.0), Pass(2, false), Pass(3, true, 85.0),
                                       Pass(3, true, 90.0)};
    const std::vector<MoveOnset> onsets = FindMoveOnsets(passes, Grabs(3));
    ASSERT_EQ(onsets.size(), 2u);
    EXPECT_EQ(onsets[0].frame, 0);
    EXPECT_EQ(onsets[1].frame, 2);
    EXPECT_EQ(onsets[1].passesAfterGrab, 0);
}

TEST(MoveOnsets, MovesBeforeAnyGrabHaveNoCause)
{
    const std::vector<LoopPass> passes{Pass(0, true, 1.0), Pass(0, false), Pass(1, true, 4.0)};
    const std::vector<MoveOnset> onsets = FindMoveOnsets(passes, Grabs(1));
    ASSERT_EQ(onsets.size(), 1u);
    EXPECT_EQ(onsets[0].frame, 0);
    EXPECT_EQ(onsets[0].passesAfterGrab, 0);
}

}  // namespace
