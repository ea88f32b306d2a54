#include "app/core/TextToInt32.h"

#include <gtest/gtest.h>

TEST(TextToInt32Test, ReadsALeadingNumberAsAtoiDoes)
{
    EXPECT_EQ(TextToInt32("20"), 20);
    EXPECT_EQ(TextToInt32("-1"), -1);
    EXPECT_EQ(TextToInt32("+7"), 7);
    EXPECT_EQ(TextToInt32(" \t\n\v\f\r42"), 42);
    EXPECT_EQ(TextToInt32("12abc"), 12);
    EXPECT_EQ(TextToInt32("007"), 7);
    EXPECT_EQ(TextToInt32("3.9"), 3);
    EXPECT_EQ(TextToInt32("-0"), 0);
}

TEST(TextToInt32Test, TextWithoutALeadingNumberIsZero)
{
    EXPECT_EQ(TextToInt32(""), 0);
    EXPECT_EQ(TextToInt32("abc"), 0);
    EXPECT_EQ(TextToInt32("-"), 0);
    EXPECT_EQ(TextToInt32("+-3"), 0);
    EXPECT_EQ(TextToInt32("- 3"), 0);
    EXPECT_EQ(TextToInt32("x12"), 0);
    // Only the C white space is skipped (here a UTF-8 no-break space).
    EXPECT_EQ(TextToInt32("\xC2\xA0" "5"), 0);
}

TEST(TextToInt32Test, NumbersBeyond32BitsSaturate)
{
    EXPECT_EQ(TextToInt32("2147483647"), 2147483647);
    EXPECT_EQ(TextToInt32("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(TextToInt32("2147483648"), 2147483647);
    EXPECT_EQ(TextToInt32("-2147483649"), -2147483647 - 1);
    EXPECT_EQ(TextToInt32("99999999999999999999999999999999999999"), 2147483647);
    EXPECT_EQ(TextToInt32("-99999999999999999999999999999999999999x"), -2147483647 - 1);
}
