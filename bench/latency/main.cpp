// latency_bench: how soon a captured frame moves the camera. The shell's main loop runs with the
// real head tracker on a video file and the scene drawn on OpenGL at 640 x 480, as in the
// program, while the harness notes when each frame is grabbed and whether each pass's tracker
// call moves the camera. For every move that starts after a still pass it reports how many
// passes after the grab of the last frame it came, and how many milliseconds after it.
// Runs in a temporary folder that links to the content in data/.
#include "app/HeadTrackerOperations.h"
#include "app/core/GameState.h"
#include "app/core/LevelCamera.h"
#include "app/core/MainLoop.h"
#include "app/core/MonotonicClock.h"
#include "app/core/PlayControl.h"
#include "app/core/ProcessSettings.h"
#include "app/core/RendererDrawing.h"
#include "bench/latency/MoveOnsets.h"
#include "bench/latency/ObservedTracker.h"
#include "bench/latency/TimedSourceOpener.h"
#include "tests/support/TemporaryFolder.h"
#include "tracking/CHeadTracker.h"
#include "tracking/NullDebugWindows.h"
#include "world/CCamera.h"
#include "world/CLevelMap.h"
#include "world/CRenderer.h"
#include "world/opengl/OpenGLDevice.h"

#include <QApplication>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct World {
    OpenGLDevice device;
    CLevelMap levelMap;
    CCamera camera;
    CRenderer renderer;
};

// The head tracking of the program, which has one tracker for the whole process: its smoothing
// ring is process-wide, and a second tracker would smooth its first samples with the first's.
struct HeadTracking {
    explicit HeadTracking(World& world)
        : steeredCamera(world.camera, world.levelMap), tracker(operations, world.camera, clock)
    {
        headTracker.SetCamera(&steeredCamera);
    }

    MonotonicClock clock;
    LevelCamera steeredCamera;
    NullDebugWindows windows;
    TimedSourceOpener opener{clock};
    CHeadTracker headTracker{windows, opener};
    HeadTrackerOperations operations{headTracker};
    ObservedTracker tracker;
};

// What one run over the video saw.
struct RunResult {
    int passes = 0;
    int captures = 0;
    double seconds = 0.0;
    double cpuSeconds = 0.0;  // all threads of the process, OpenGL's included
    std::vector<double> grabMs;  // the grab itself: read and decode
    std::vector<double> grabToStepEndMs;  // every capture
    std::vector<MoveOnset> onsets;
};

std::string LoadAverage()
{
    std::ifstream file("/proc/loadavg");
    std::string one, five, fifteen;
    file >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

double Max(const std::vector<double>& values)
{
    return values.empty() ? 0.0 : *std::max_element(values.begin(), values.end());
}

// The program's play over the video from its start pose: the file opened as "Abrir" does, Enter,
// passes to the end of the file.
bool RunOverVideo(World& world, HeadTracking& tracking, const std::string& video, RunResult& result)
{
    world.levelMap.ResetCell();
    world.camera.Reset();
    MonotonicClock& clock = tracking.clock;
    const TimedSourceOpener& opener = tracking.opener;
    ObservedTracker& tracker = tracking.tracker;

    GameState state;
    state.m_pszVideoFile = video;
    state.m_dVideoFrameRate = tracker.OpenVideoFile(video);
    if (state.m_dVideoFrameRate <= 0.0 || opener.Opened() == nullptr) {
        std::fprintf(stderr, "latency_bench: cannot open %s\n", video.c_str());
        return false;
    }
    PlayControl play(state, tracker, [] { return false; });
    play.StartPlay();
    if (g_steeringMode != HeadSteering)
        return false;
    RendererDrawing drawing(world.renderer);
    MainLoop loop(state, world.levelMap, world.camera, tracker, drawing, clock);

    const TimedSource& source = *opener.Opened();
    std::vector<LoopPass> passes;
    const double start = clock.NowMs();
    const std::clock_t cpuStart = std::clock();
    while (!source.Ended()) {
        loop.RunPass();
        LoopPass pass;
        pass.drawnMs = clock.NowMs();
        QCoreApplication::processEvents();
        pass.shownMs = clock.NowMs();
        pass.grabs = static_cast<int>(source.Grabs().size());
        if (const std::optional<TrackerCall> call = tracker.TakeCall()) {
            pass.cameraMoved = call->cameraMoved;
            pass.moveMs = call->endMs;
            const bool grabbed =
                call->captured && (passes.empty() ? pass.grabs > 0 : pass.grabs != passes.back().grabs);
            if (grabbed)
                result.grabToStepEndMs.push_back(call->endMs - source.Grabs().back().inHandMs);
        }
        passes.push_back(pass);
    }
    result.seconds = (clock.NowMs() - start) / 1000.0;
    result.cpuSeconds = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    result.passes = static_cast<int>(passes.size());
    result.captures = static_cast<int>(source.Grabs().size());
    for (const GrabTime& grab : source.Grabs())
        result.grabMs.push_back(grab.inHandMs - grab.startMs);
    result.onsets = FindMoveOnsets(passes, source.Grabs());
    return true;
}

void Usage()
{
    std::fprintf(stderr,
                 "usage: latency_bench VIDEO.avi [--repetitions N]\n"
                 "  Plays VIDEO through the main loop with head steering N times (default 3) and\n"
                 "  reports, for every camera move that starts after a still pass, the passes and the\n"
                 "  milliseconds from the grab of the frame that caused it.\n");
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    std::string video;
    int repetitions = 3;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--repetitions") == 0 && i + 1 < argc) {
            repetitions = std::atoi(argv[++i]);
        } else if (argv[i][0] != '-' && video.empty()) {
            video = std::filesystem::absolute(argv[i]).string();
        } else {
            Usage();
            return 2;
        }
    }
    if (video.empty() || repetitions < 1) {
        Usage();
        return 2;
    }

    const TemporaryFolder folder;
    TemporaryFolder::LinkContent({"modelos", "texturas", "intro"});

    int status = 0;
    {
        World world;
        world.device.resize(MainLoop::kScreenWidth, MainLoop::kScreenHeight);
        world.device.show();
        if (!QTest::qWaitForWindowExposed(&world.device) ||
            !world.renderer.Init(world.device, MainLoop::kScreenWidth, MainLoop::kScreenHeight)) {
            std::fprintf(stderr, "latency_bench: no OpenGL window\n");
            status = 1;
        }
        HeadTracking tracking(world);
        const std::string loadBefore = LoadAverage();
        std::vector<RunResult> results;
        for (int r = 0; status == 0 && r < repetitions; ++r) {
            RunResult result;
            if (!RunOverVideo(world, tracking, video, result))
                status = 1;
            results.push_back(result);
        }
        if (status == 0) {
            std::printf("Video %s, %d runs; load average %s before, %s after.\n\n", video.c_str(), repetitions,
                        loadBefore.c_str(), LoadAverage().c_str());
            std::printf("| Run | passes | passes per second | CPU ms per pass | captures | grab → end of capture step, "
                        "median ms | "
                        "move onsets | onsets in the grab's pass | grab → move, median ms (max) | "
                        "grab → end of the pass, median ms (max) | grab → window repainted, median ms (max) |\n");
            std::printf("|---|---|---|---|---|---|---|---|---|---|---|\n");
            std::vector<double> allGrabs, allSteps, allMove, allDrawn, allShown;
            std::vector<int> allPasses;
            for (std::size_t r = 0; r < results.size(); ++r) {
                const RunResult& result = results[r];
                std::vector<double> move, drawn, shown;
                int samePass = 0;
                for (const MoveOnset& onset : result.onsets) {
                    move.push_back(onset.grabToMoveMs);
                    drawn.push_back(onset.grabToDrawnMs);
                    shown.push_back(onset.grabToShownMs);
                    allPasses.push_back(onset.passesAfterGrab);
                    samePass += onset.passesAfterGrab == 0;
                }
                allGrabs.insert(allGrabs.end(), result.grabMs.begin(), result.grabMs.end());
                allSteps.insert(allSteps.end(), result.grabToStepEndMs.begin(), result.grabToStepEndMs.end());
                allMove.insert(allMove.end(), move.begin(), move.end());
                allDrawn.insert(allDrawn.end(), drawn.begin(), drawn.end());
                allShown.insert(allShown.end(), shown.begin(), shown.end());
                std::printf(
                    "| %zu | %d | %.1f | %.2f | %d | %.2f | %zu | %d | %.2f (%.2f) | %.2f (%.2f) | %.2f (%.2f) |\n",
                    r + 1, result.passes, result.passes / result.seconds, 1000.0 * result.cpuSeconds / result.passes,
                    result.captures, Median(result.grabToStepEndMs), result.onsets.size(), samePass, Median(move),
                    Max(move), Median(drawn), Max(drawn), Median(shown), Max(shown));
            }
            const int samePass = static_cast<int>(std::count(allPasses.begin(), allPasses.end(), 0));
            std::printf("| all | | | | | %.2f | %zu | %d | %.2f (%.2f) | %.2f (%.2f) | %.2f (%.2f) |\n",
                        Median(allSteps), allPasses.size(), samePass, Median(allMove), Max(allMove), Median(allDrawn),
                        Max(allDrawn), Median(allShown), Max(allShown));
            std::printf("\nPasses from the grab to the move, over all onsets: largest %d. The grab itself (read and "
                        "decode of a frame) took %.2f ms (median); times above count from the frame in hand.\n",
                        allPasses.empty() ? 0 : *std::max_element(allPasses.begin(), allPasses.end()),
                        Median(allGrabs));
            std::printf("\nOnsets (frame: passes after its grab, ms to the move):\n");
            for (std::size_t r = 0; r < results.size(); ++r) {
                std::printf("  run %zu:", r + 1);
                for (const MoveOnset& onset : results[r].onsets)
                    std::printf(" %d: %d, %.2f;", onset.frame, onset.passesAfterGrab, onset.grabToMoveMs);
                std::printf("\n");
            }
        }
    }
    return status;
}
