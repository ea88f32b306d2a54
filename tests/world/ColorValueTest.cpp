#include "world/ColorValue.h"

#include <gtest/gtest.h>

TEST(ColorValue, ProgramColoursPackToTheirDeviceValues)
{
    EXPECT_EQ(PackColor(kClearColor), 0x00AAAAAAu);
    EXPECT_EQ(PackColor(kOverlayColor), 0xFFFF0000u);
}

TEST(ColorValue, ChannelsClampAtTheEndsAndRoundInBetween)
{
    EXPECT_EQ(PackColor({1.5f, -0.5f, 0.0f, 1.0f}), 0xFFFF0000u);
    // 0.5 * 255 + 0.5 = 128.0 -> 0x80; 0.499 * 255 + 0.5 = 127.745 -> 0x7F (truncated).
    EXPECT_EQ(PackColor({0.5f, 0.499f, 0.002f, 0.0f}), 0x00807F01u);
}
