#include "tools/headvideo/MotionScript.h"

#include <gtest/gtest.h>

TEST(MotionScript, StandardScriptRunsEveryMovementOutHeldAndBack)
{
    std::string error;
    const std::optional<MotionScript> script = MotionScript::Parse(MotionScript::kStandard, error);
    ASSERT_TRUE(script) << error;
    ASSERT_EQ(script->Segments().size(), 9u);
    // Still for 25 frames, then eight movements of 20 + 25 + 20 frames.
    EXPECT_EQ(script->Frames(), 25 + 8 * 65);
    EXPECT_EQ(script->Segments()[1].name, "left");
    EXPECT_EQ(script->SegmentAt(24), 0);
    EXPECT_EQ(script->SegmentAt(25), 1);
    EXPECT_EQ(script->SegmentAt(script->Frames() - 1), 8);
}

TEST(MotionScript, AMovementRampsToItsPoseHoldsItAndRampsBack)
{
    std::string error;
    const std::optional<MotionScript> script = MotionScript::Parse("still:3,left:105", error);
    ASSERT_TRUE(script) << error;
    EXPECT_EQ(script->PoseAt(2).shiftX, 0.0);
    EXPECT_DOUBLE_EQ(script->PoseAt(3).shiftX, -5.0);          // 1/21 of the way
    EXPECT_DOUBLE_EQ(script->PoseAt(3 + 19).shiftX, -100.0);   // 20/21
    for (int frame = 3 + 20; frame < 3 + 45; ++frame)
        EXPECT_DOUBLE_EQ(script->PoseAt(frame).shiftX, -105.0) << frame;
    EXPECT_DOUBLE_EQ(script->PoseAt(3 + 45).shiftX, -100.0);
    EXPECT_DOUBLE_EQ(script->PoseAt(3 + 64).shiftX, -5.0);
    EXPECT_EQ(script->PoseAt(3 + 64).scale, 1.0);
    EXPECT_EQ(script->Frames(), 3 + 65);
}

TEST(MotionScript, EachMovementHasItsOwnPose)
{
    std::string error;
    const std::optional<MotionScript> script =
        MotionScript::Parse("right,up,down,nearer,farther:0.5,roll-cw,roll-ccw:10", error);
    ASSERT_TRUE(script) << error;
    const std::vector<MotionSegment>& s = script->Segments();
    EXPECT_EQ(s[0].pose.shiftX, 110.0);
    EXPECT_EQ(s[1].pose.shiftY, -70.0);
    EXPECT_EQ(s[2].pose.shiftY, 70.0);
    EXPECT_EQ(s[3].pose.scale, 1.3);
    EXPECT_EQ(s[4].pose.scale, 0.5);
    EXPECT_EQ(s[5].pose.rollDegrees, 22.0);
    EXPECT_EQ(s[6].pose.rollDegrees, -10.0);
}

TEST(MotionScript, RejectsUnknownMovementsAndBadAmounts)
{
    for (const char* wrong : {"", "still,jump", "left:", "left:-5", "left:5px", "nearer:0"}) {
        std::string error;
        EXPECT_FALSE(MotionScript::Parse(wrong, error)) << wrong;
        EXPECT_FALSE(error.empty()) << wrong;
    }
}
