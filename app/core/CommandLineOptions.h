#pragma once

#include <optional>
#include <string>
#include <vector>

// The program's command line: shortcuts for what the menus and keys do at start-up, and what
// unattended runs (tests, demonstrations) need.
struct CommandLineOptions {
    bool help = false;
    // As "Abrir" before play.
    std::optional<std::string> videoFile;
    // As Enter right after start-up.
    bool start = false;
    // As "Rendimiento".
    bool showStats = false;
    // As "FrameA", "FrameB", "Valores" and "Gráficas": the tracker's analysis windows, values
    // panel and plot beside "Imagen".
    bool showViews = false;
    // Quit after this many passes of play.
    std::optional<int> frames;
    // Passes back to back, as fast as the machine allows, instead of one per display refresh
    // (for benchmarks).
    bool unpaced = false;
    // Quit once the video file has no more frames.
    bool quitAtVideoEnd = false;
    // Where the last drawn frame is saved as PNG when the program ends.
    std::optional<std::string> screenshotFile;
    // Where the last picture of each open tracker window and "Gráficas" is saved as
    // <window>.png when the program ends.
    std::optional<std::string> viewScreenshotFolder;
    // Messages go to standard error instead of message boxes.
    bool messagesOnStderr = false;
    // How long each stage of start-up took, written to standard error once the first frame is
    // on the screen.
    bool startupTimes = false;

    // Reads the arguments after the program name. On a mistake, returns nothing and explains
    // it in `error`.
    static std::optional<CommandLineOptions> Parse(const std::vector<std::string>& arguments, std::string& error);
    static const char* Usage();
};
