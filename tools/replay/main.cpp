// brumaria-replay: the head steering over a recorded video, one line per captured frame.
#include "platform/ContentLocator.h"
#include "sound/SoundPlugin.h"
#include "tools/replay/Replay.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace {

void Usage()
{
    std::fprintf(stderr,
                 "usage: brumaria-replay VIDEO [--precise] [--csv FILE]\n"
                 "  Runs the head tracker over VIDEO and prints, for every captured frame: its\n"
                 "  number, the tracker state, the eyes and the mouth, the tracking cost, the yaw\n"
                 "  and pitch measures, the camera's eye and look-at point, the level map cell\n"
                 "  and the camera moves. --precise detects faces on the full frame; --csv also\n"
                 "  writes the lines as CSV to FILE.\n"
                 "  Thresholds come from \"configuracion\" in the working directory (created with\n"
                 "  the defaults when missing); the six muestras*.m sample files are written there.\n"
                 "  When the working directory does not hold Brumaria's content and the program is\n"
                 "  installed, they are the installed program's, in $XDG_DATA_HOME/brumaria\n"
                 "  (~/.local/share/brumaria). Footsteps and hits play on OpenAL's silent null device.\n");
}

}  // namespace

int main(int argc, char** argv)
{
    const char* video = nullptr;
    const char* csvFile = nullptr;
    bool precise = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--precise") == 0) {
            precise = true;
        } else if (std::strcmp(argv[i], "--csv") == 0 && i + 1 < argc) {
            csvFile = argv[++i];
        } else if (argv[i][0] != '-' && video == nullptr) {
            video = argv[i];
        } else {
            Usage();
            return 2;
        }
    }
    if (video == nullptr) {
        Usage();
        return 2;
    }

    std::ofstream csv;
    if (csvFile != nullptr) {
        csv.open(csvFile);
        if (!csv) {
            std::fprintf(stderr, "brumaria-replay: cannot write %s\n", csvFile);
            return 1;
        }
        csv << ReplayLine::Header(',') << '\n';
    }

    // The program's folders: installed, its thresholds are the user's. Without any content
    // everything stays in the working directory.
    if (const std::optional<ContentFolders> folders = ContentLocator::ForThisProcess().Locate()) {
        std::string error;
        if (!ContentLocator::CreateWritableFolder(*folders, error))
            std::fprintf(stderr, "brumaria-replay: %s\n", error.c_str());
        SetContentFolders(*folders);
    }

    // The camera's steps sound as in the program, heard by nobody.
    setenv("ALSOFT_DRIVERS", "null", 1);
    SoundPlugin sound;
    if (sound.Init(22050, 2, 6))
        sound.LoadClips();

    Replay replay;
    if (!replay.Open(video, precise)) {
        std::fprintf(stderr, "brumaria-replay: cannot open %s\n", video);
        return 1;
    }
    std::printf("# %s, %.2f frames per second, %s detection\n", video, replay.FrameRate(),
                precise ? "precise" : "normal");
    std::printf("# %s\n", ReplayLine::Header(' ').c_str());
    while (const std::optional<ReplayLine> line = replay.Step()) {
        std::printf("%s\n", line->Format(' ').c_str());
        if (csv)
            csv << line->Format(',') << '\n';
    }
    if (csv && !csv.flush()) {
        std::fprintf(stderr, "brumaria-replay: cannot write %s\n", csvFile);
        return 1;
    }
    return 0;
}
