#include "app/core/CommandLineOptions.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace {

std::optional<int> PositiveInteger(const std::string& text)
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    errno = 0;
    const long value = std::strtol(text.c_str(), nullptr, 10);
    if (errno == ERANGE || value < 1 || value > INT_MAX)
        return std::nullopt;
    return static_cast<int>(value);
}

}  // namespace

std::optional<CommandLineOptions> CommandLineOptions::Parse(const std::vector<std::string>& arguments,
                                                            std::string& error)
{
    CommandLineOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        const bool takesValue =
            option == "--video" || option == "--frames" || option == "--screenshot" || option == "--view-screenshots";
        if (takesValue && i + 1 >= arguments.size()) {
            error = option + " needs a value";
            return std::nullopt;
        }
        if (option == "--help" || option == "-h") {
            options.help = true;
        } else if (option == "--start") {
            options.start = true;
        } else if (option == "--stats") {
            options.showStats = true;
        } else if (option == "--unpaced") {
            options.unpaced = true;
        } else if (option == "--quit-at-video-end") {
            options.quitAtVideoEnd = true;
        } else if (option == "--views") {
            options.showViews = true;
        } else if (option == "--messages-on-stderr") {
            options.messagesOnStderr = true;
        } else if (option == "--startup-times") {
            options.startupTimes = true;
        } else if (option == "--video") {
            const std::string& file = arguments[++i];
            std::error_code ignored;
            if (!std::filesystem::is_regular_file(file, ignored)) {
                error = "--video: no such file: " + file;
                return std::nullopt;
            }
            options.videoFile = file;
        } else if (option == "--frames") {
            const std::string& count = arguments[++i];
            options.frames = PositiveInteger(count);
            if (!options.frames) {
                error = "--frames needs a whole number of at least 1, not \"" + count + "\"";
                return std::nullopt;
            }
        } else if (option == "--screenshot") {
            options.screenshotFile = arguments[++i];
            if (options.screenshotFile->empty()) {
                error = "--screenshot needs a file name";
                return std::nullopt;
            }
        } else if (option == "--view-screenshots") {
            options.viewScreenshotFolder = arguments[++i];
            if (options.viewScreenshotFolder->empty()) {
                error = "--view-screenshots needs a folder name";
                return std::nullopt;
            }
        } else {
            error = "unknown option: " + option;
            return std::nullopt;
        }
    }
    return options;
}

const char* CommandLineOptions::Usage()
{
    return "Usage: brumaria [options]\n"
           "Walk through the churchyard: Enter starts, the arrow keys, Page Up/Down, Home/End and\n"
           "the keypad keys 1, 3, 7, 9 (or comma, period, K, L) steer; F1 shows the help.\n"
           "\n"
           "Options:\n"
           "  --video FILE          use an AVI file instead of the webcam (as Archivo > Abrir)\n"
           "  --start               start walking at once (as the Enter key)\n"
           "  --stats               show the statistics overlay (as Vistas > Rendimiento)\n"
           "  --views               show the tracker's windows Frame, Frame B and Parámetros and\n"
           "                        the Gráficas (as Vistas > FrameA, FrameB, Valores, Gráficas)\n"
           "  --frames N            quit after N frames of play\n"
           "  --unpaced             draw frames as fast as the machine allows, not one per display\n"
           "                        refresh (for benchmarks)\n"
           "  --quit-at-video-end   quit when the video file has no more frames\n"
           "  --screenshot FILE     save the last frame drawn as a PNG picture when the program ends\n"
           "  --view-screenshots FOLDER\n"
           "                        save what each open tracker window and the Gráficas show\n"
           "                        last as FOLDER/<window>.png when the program ends\n"
           "  --messages-on-stderr  write messages to standard error instead of showing message boxes\n"
           "  --startup-times       write how long each stage of start-up took to standard error\n"
           "  --help                show this help and quit\n";
}
