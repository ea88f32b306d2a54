#include "app/core/CommandLineOptions.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

std::optional<CommandLineOptions> Parse(const std::vector<std::string>& arguments, std::string* error = nullptr)
{
    std::string message;
    std::optional<CommandLineOptions> options = CommandLineOptions::Parse(arguments, message);
    EXPECT_EQ(options.has_value(), message.empty()) << message;
    if (error)
        *error = message;
    return options;
}

TEST(CommandLineOptionsTest, NoArgumentsChangeNothing)
{
    const std::optional<CommandLineOptions> options = Parse({});
    ASSERT_TRUE(options);
    EXPECT_FALSE(options->help);
    EXPECT_FALSE(options->start);
    EXPECT_FALSE(options->showStats);
    EXPECT_FALSE(options->showViews);
    EXPECT_FALSE(options->messagesOnStderr);
    EXPECT_FALSE(options->videoFile);
    EXPECT_FALSE(options->frames);
    EXPECT_FALSE(options->quitAtVideoEnd);
    EXPECT_FALSE(options->screenshotFile);
    EXPECT_FALSE(options->viewScreenshotFolder);
}

TEST(CommandLineOptionsTest, EveryOptionIsRead)
{
    const std::filesystem::path video = std::filesystem::temp_directory_path() / "brumaria-options-test.avi";
    std::ofstream(video) << "x";
    const std::optional<CommandLineOptions> options =
        Parse({"--start", "--stats", "--video", video.string(), "--frames", "200", "--screenshot", "out.png",
               "--messages-on-stderr", "--views", "--view-screenshots", "vistas", "--quit-at-video-end"});
    std::filesystem::remove(video);
    ASSERT_TRUE(options);
    EXPECT_TRUE(options->start);
    EXPECT_TRUE(options->showStats);
    EXPECT_TRUE(options->messagesOnStderr);
    EXPECT_EQ(options->videoFile, video.string());
    EXPECT_EQ(options->frames, 200);
    EXPECT_TRUE(options->quitAtVideoEnd);
    EXPECT_EQ(options->screenshotFile, "out.png");
    EXPECT_TRUE(options->showViews);
    EXPECT_EQ(options->viewScreenshotFolder, "vistas");
    EXPECT_TRUE(Parse({"--help"})->help);
    EXPECT_TRUE(Parse({"-h"})->help);
}

TEST(CommandLineOptionsTest, MistakesAreExplained)
{
    std::string error;
    EXPECT_FALSE(Parse({"--fast"}, &error));
    EXPECT_EQ(error, "unknown option: --fast");
    EXPECT_FALSE(Parse({"--start", "intro"}, &error));
    EXPECT_EQ(error, "unknown option: intro");
    EXPECT_FALSE(Parse({"--frames"}, &error));
    EXPECT_EQ(error, "--frames needs a value");
    EXPECT_FALSE(Parse({"--screenshot"}, &error));
    EXPECT_FALSE(Parse({"--screenshot", ""}, &error));
    EXPECT_FALSE(Parse({"--view-screenshots"}, &error));
    EXPECT_EQ(error, "--view-screenshots needs a value");
    EXPECT_FALSE(Parse({"--view-screenshots", ""}, &error));
    EXPECT_EQ(error, "--view-screenshots needs a folder name");
    EXPECT_FALSE(Parse({"--video", "/nonexistent/paseo.avi"}, &error));
    EXPECT_EQ(error, "--video: no such file: /nonexistent/paseo.avi");
    EXPECT_FALSE(Parse({"--video", std::filesystem::temp_directory_path().string()}, &error));
}

TEST(CommandLineOptionsTest, FramesMustBeAPositiveWholeNumber)
{
    for (const char* bad : {"0", "-5", "abc", "12x", "1.5", "", "99999999999"}) {
        std::string error;
        EXPECT_FALSE(Parse({"--frames", bad}, &error)) << bad;
        EXPECT_NE(error.find("--frames"), std::string::npos);
    }
    EXPECT_EQ(Parse({"--frames", "1"})->frames, 1);
    EXPECT_EQ(Parse({"--frames", "2147483647"})->frames, 2147483647);
}

TEST(CommandLineOptionsTest, UsageNamesEveryOption)
{
    const std::string usage = CommandLineOptions::Usage();
    for (const char* option :
         {"--video FILE", "--start", "--stats", "--views", "--frames N", "--quit-at-video-end", "--screenshot FILE",
          "--view-screenshots FOLDER", "--messages-on-stderr", "--help"})
        EXPECT_NE(usage.find(option), std::string::npos) << option;
}

}  // namespace
