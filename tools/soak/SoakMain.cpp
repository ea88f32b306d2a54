// brumaria-soak: the game's main loop for many passes with head steering from a looping video,
// on the real tracker, level map, camera, sound (OpenAL) and renderer (on the recording
// device), reporting the process's memory as it goes. Built under the sanitizers by
// tools/soak.sh, any memory fault or leak ends it with a report.
#include "app/core/GameState.h"
#include "app/core/LevelCamera.h"
#include "app/core/MainLoop.h"
#include "app/core/PassClock.h"
#include "app/core/ProcessSettings.h"
#include "app/core/RendererDrawing.h"
#include "app/core/TrackerOperations.h"
#include "sound/SoundPlugin.h"
#include "tests/support/world/RecordingDevice.h"
#include "tools/soak/LoopingVideoOpener.h"
#include "tracking/CHeadTracker.h"
#include "tracking/DebugWindows.h"
#include "world/CCamera.h"
#include "world/CLevelMap.h"
#include "world/CRenderer.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <string>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define BRUMARIA_SOAK_HEAP_STATS 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define BRUMARIA_SOAK_HEAP_STATS 1
#endif
#ifdef BRUMARIA_SOAK_HEAP_STATS
// The sanitizer runtime's count of bytes in live heap blocks (GCC ships no header for it).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

void Usage()
{
    std::fprintf(stderr,
                 "usage: brumaria-soak VIDEO.avi [--passes N] [--step-ms MS] [--report-every N] [--reset-every N]\n"
                 "  runs N main-loop passes (default 100000) in head steering over the looping video,\n"
                 "  the clock advancing MS milliseconds a pass (default 10), and prints the resident\n"
                 "  size every report-every passes (default 10000); a reset every reset-every passes\n"
                 "  (default 25000; 0 for none). Run in a folder holding modelos, texturas, intro, snd.\n");
}

// Resident set size of this process, in KiB.
long ResidentKiB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atol(line.c_str() + 6);
    }
    return -1;
}

// Bytes the program holds on the heap (the sanitizer's count; -1 without it).
long long HeapBytes()
{
#ifdef BRUMARIA_SOAK_HEAP_STATS
    return static_cast<long long>(__sanitizer_get_current_allocated_bytes());
#else
    return -1;
#endif
}

// Time that advances by a fixed step at every reading, so the capture pacing is the same on
// any machine and under any instrumentation.
class SteppingClock : public PassClock {
public:
    explicit SteppingClock(double step) : m_step(step) {}
    double NowMs() override { return m_now += m_step; }

private:
    double m_step;
    double m_now = 0.0;
};

// Windows that keep the last picture shown in each, as a screen would.
class LastPictureWindows : public DebugWindows {
public:
    void Create(const std::string& name) override { m_pictures[name]; }
    void Destroy(const std::string& name) override { m_pictures.erase(name); }
    void Show(const std::string& name, const cv::Mat& image) override { image.copyTo(m_pictures[name]); }

private:
    std::map<std::string, cv::Mat> m_pictures;
};

class SoakTracker : public TrackerOperations {
public:
    explicit SoakTracker(CHeadTracker& tracker) : m_tracker(tracker) {}
    bool StartWebcam() override { return m_tracker.StartWebcam(); }
    double OpenVideoFile(const std::string& path) override { return m_tracker.OpenVideoFile(path); }
    void OpenImageWindow() override { m_tracker.OpenImageWindow(); }
    bool GrabAndProcess() override
    {
        ++captures;
        const bool grabbed = m_tracker.GrabAndProcess();
        trackingCaptures += grabbed && m_tracker.State() == Tracking;
        return grabbed;
    }
    void InterpretBetweenFrames() override { m_tracker.InterpretBetweenFrames(); }
    void ResetTracking() override { m_tracker.ResetTracking(); }

    long captures = 0;
    long trackingCaptures = 0;

private:
    CHeadTracker& m_tracker;
};

// The renderer's frames on the recording device, whose call log is dropped after each frame.
class SoakDrawing : public RendererDrawing {
public:
    SoakDrawing(CRenderer& renderer, RecordingDevice& device) : RendererDrawing(renderer), m_device(device) {}
    void EndFrame() override
    {
        RendererDrawing::EndFrame();
        m_device.ClearCalls();
    }

private:
    RecordingDevice& m_device;
};

bool ReadCount(const char* text, long& value)
{
    char* end = nullptr;
    value = std::strtol(text, &end, 10);
    return *end == '\0' && value >= 0;
}

struct Options {
    std::string video;
    long passes = 100000;
    long stepMs = 10;
    long reportEvery = 10000;
    long resetEvery = 25000;
};

bool ParseOptions(int argc, char** argv, Options& options)
{
    if (argc < 2 || argv[1][0] == '-')
        return false;
    options.video = argv[1];
    for (int i = 2; i < argc; ++i) {
        if (i + 1 >= argc)
            return false;
        long* target = nullptr;
        if (std::strcmp(argv[i], "--passes") == 0)
            target = &options.passes;
        else if (std::strcmp(argv[i], "--step-ms") == 0)
            target = &options.stepMs;
        else if (std::strcmp(argv[i], "--report-every") == 0)
            target = &options.reportEvery;
        else if (std::strcmp(argv[i], "--reset-every") == 0)
            target = &options.resetEvery;
        if (target == nullptr || !ReadCount(argv[++i], *target))
            return false;
    }
    return options.stepMs > 0 && options.reportEvery > 0;
}

}  // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        Usage();
        return 2;
    }

    LastPictureWindows windows;
    LoopingVideoOpener opener;
    auto headTracker = std::make_unique<CHeadTracker>(windows, opener);
    auto levelMap = std::make_unique<CLevelMap>();
    auto camera = std::make_unique<CCamera>();
    auto device = std::make_unique<RecordingDevice>();
    auto renderer = std::make_unique<CRenderer>();
    auto sound = std::make_unique<SoundPlugin>();
    if (!renderer->Init(*device, MainLoop::kScreenWidth, MainLoop::kScreenHeight) || !sound->Init(22050, 2, 6) ||
        !sound->LoadClips()) {
        std::fprintf(stderr, "brumaria-soak: set-up failed (run in a folder with the game's content)\n");
        return 1;
    }
    LevelCamera steeredCamera(*camera, *levelMap);
    headTracker->SetCamera(&steeredCamera);
    // Every view the tracker can draw, so that all of its drawing takes part.
    headTracker->SetFrameAView(true);
    headTracker->SetFrameBView(true);
    headTracker->SetValuesView(true);

    GameState state;
    SoakTracker tracker(*headTracker);
    SoakDrawing drawing(*renderer, *device);
    SteppingClock clock(static_cast<double>(options.stepMs));
    MainLoop loop(state, *levelMap, *camera, tracker, drawing, clock);

    state.m_dVideoFrameRate = tracker.OpenVideoFile(options.video);
    if (state.m_dVideoFrameRate <= 0.0) {
        std::fprintf(stderr, "brumaria-soak: cannot open %s\n", options.video.c_str());
        return 1;
    }
    state.m_pszVideoFile = options.video;
    state.m_bStarted = true;
    state.m_bShowStats = true;
    g_steeringMode = HeadSteering;

    const auto report = [&](long pass) {
        std::printf("pass %7ld: resident %7.1f MiB, heap %7.1f MiB, captures %6ld (tracking %6ld), video rewinds %4ld, "
                    "cell %2d, eye (%.2f, %.2f)\n",
                    pass, ResidentKiB() / 1024.0, HeapBytes() / 1048576.0, tracker.captures, tracker.trackingCaptures,
                    opener.Rewinds(), static_cast<int>(levelMap->GetCurrentCell()), camera->Eye().x, camera->Eye().z);
        std::fflush(stdout);
    };

    report(0);
    for (long pass = 1; pass <= options.passes; ++pass) {
        if (options.resetEvery > 0 && pass % options.resetEvery == 0)
            state.m_bResetRequested = true;
        loop.RunPass();
        if (pass % options.reportEvery == 0 || pass == options.passes)
            report(pass);
    }

    // Torn down in the program's order at exit: the tracker completes the sample files last.
    sound.reset();
    renderer.reset();
    device.reset();
    camera.reset();
    levelMap.reset();
    headTracker.reset();
    return 0;
}
