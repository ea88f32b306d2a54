#include "app/core/CommandLineOptions.h"

#include <gtest/gtest.h>

#include <filesystem>

// (The options themselves are read by the program's own runs.)
TEST(CommandLineOptionsTest, MistakesAreExplained)
{
    const std::string folder = std::filesystem::temp_directory_path().string();
    const std::pair<std::vector<std::string>, std::string> mistakes[] = {
        {{"--start", "intro"}, "unknown option: intro"},
        {{"--frames", "0"}, "--frames needs a whole number of at least 1, not \"0\""},
        {{"--frames", "12x"}, "--frames needs a whole number of at least 1, not \"12x\""},
        {{"--frames", "99999999999"}, "--frames needs a whole number of at least 1, not \"99999999999\""},
        {{"--video", folder}, "--video: no such file: " + folder},
    };
    for (const auto& [arguments, expected] : mistakes) {
        std::string error;
        EXPECT_FALSE(CommandLineOptions::Parse(arguments, error));
        EXPECT_EQ(error, expected);
    }
    std::string error;
    EXPECT_EQ(CommandLineOptions::Parse({"--frames", "2147483647", "-h"}, error)->frames, 2147483647) << error;
}
