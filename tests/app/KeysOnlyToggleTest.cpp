#include "app/core/KeysOnlyToggle.h"
#include "app/core/SteeringMode.h"

#include <gtest/gtest.h>

namespace {

class KeysOnlyToggleTest : public ::testing::Test {
protected:
    void TearDown() override { g_steeringMode = KeysOnly; }
};

TEST_F(KeysOnlyToggleTest, UncheckedChoosesTheKeyboardInEveryMode)
{
    for (const SteeringMode mode : {NoCamera, HeadSteering, KeysOnly}) {
        g_steeringMode = mode;
        EXPECT_EQ(ToggleKeysOnly(false), KeysOnlyOutcome::Checked);
        EXPECT_EQ(g_steeringMode, KeysOnly);
    }
}

TEST_F(KeysOnlyToggleTest, CheckedGoesBackToHeadSteering)
{
    for (const SteeringMode mode : {HeadSteering, KeysOnly}) {
        g_steeringMode = mode;
        EXPECT_EQ(ToggleKeysOnly(true), KeysOnlyOutcome::Unchecked);
        EXPECT_EQ(g_steeringMode, HeadSteering);
    }
}

TEST_F(KeysOnlyToggleTest, HeadSteeringIsRefusedWithoutACamera)
{
    g_steeringMode = NoCamera;
    EXPECT_EQ(ToggleKeysOnly(true), KeysOnlyOutcome::Refused);
    EXPECT_EQ(g_steeringMode, NoCamera);
}

TEST_F(KeysOnlyToggleTest, WithoutACameraTheKeyboardThenHeadSteeringCanBeChosen)
{
    // Play started without a camera; the item starts unchecked.
    g_steeringMode = NoCamera;
    EXPECT_EQ(ToggleKeysOnly(false), KeysOnlyOutcome::Checked);
    EXPECT_EQ(g_steeringMode, KeysOnly);
    EXPECT_EQ(ToggleKeysOnly(true), KeysOnlyOutcome::Unchecked);
    EXPECT_EQ(g_steeringMode, HeadSteering);
}

}  // namespace
