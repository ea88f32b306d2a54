#include "app/core/TextToInt32.h"

#include <gtest/gtest.h>

TEST(TextToInt32Test, ReadsTheLeadingNumberAsAtoiDoesAndSaturatesBeyond32Bits)
{
    const std::pair<const char*, std::int32_t> cases[] = {
        {"-1", -1},
        {"+7", 7},
        {" \t\n\v\f\r42", 42},
        {"12abc", 12},
        // No leading number; only C white space is skipped (not a UTF-8 no-break space).
        {"", 0},
        {"-", 0},
        {"+-3", 0},
        {"- 3", 0},
        {"x12", 0},
        {"\xC2\xA0"
         "5",
         0},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"2147483648", 2147483647},
        {"-2147483649", -2147483647 - 1},
        {"-99999999999999999999999999999999999999x", -2147483647 - 1},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(TextToInt32(text), value) << '"' << text << '"';
}
