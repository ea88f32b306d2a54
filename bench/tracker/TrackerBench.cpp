// Face detection in both modes on a 640 x 480 frame, and whole capture steps of the head
// tracker on prepared frames (no video decoding). Wall-clock times: the detector searches in
// parallel threads.
#include "app/core/LevelCamera.h"
#include "tests/support/TemporaryFolder.h"
#include "tests/support/tracking/FrameSequenceSource.h"
#include "tests/support/tracking/PreparedSourceOpener.h"
#include "tools/headvideo/HeadVideoWriter.h"
#include "tracking/CHeadTracker.h"
#include "tracking/FaceDetector.h"
#include "tracking/NullDebugWindows.h"
#include "world/CCamera.h"
#include "world/CLevelMap.h"

#include <benchmark/benchmark.h>
#include <opencv2/imgcodecs.hpp>

#include <memory>

namespace {

const cv::Mat& Portrait()
{
    static const cv::Mat portrait = cv::imread(BRUMARIA_SOURCE_DIR "/tests/data/astronaut.png", cv::IMREAD_COLOR);
    return portrait;
}

// The portrait's face, 160 pixels wide, in a 640 x 480 frame, in the given pose.
cv::Mat FaceFrame(const HeadPose& pose = {})
{
    static const HeadVideoWriter writer = [] {
        FaceDetector detector;
        return HeadVideoWriter(Portrait(), detector.Detect(Portrait(), true).at(0));
    }();
    return writer.Frame(pose);
}

void Detect(benchmark::State& state, bool precise)
{
    const cv::Mat frame = FaceFrame();
    FaceDetector detector;
    if (detector.Detect(frame, precise).empty()) {
        state.SkipWithError("no face found");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(detector.Detect(frame, precise).data());
}

void BM_DetectNormal(benchmark::State& state)
{
    Detect(state, false);
}
BENCHMARK(BM_DetectNormal)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DetectPrecise(benchmark::State& state)
{
    Detect(state, true);
}
BENCHMARK(BM_DetectPrecise)->Unit(benchmark::kMillisecond)->UseRealTime();

// The tracker steering the camera, over a face moving a few pixels to and fro.
class TrackerRun {
public:
    explicit TrackerRun(std::vector<cv::Mat> frames)
    {
        opener.PrepareCamera(std::make_unique<FrameSequenceSource>(std::move(frames), 25.0, TopLeftOrigin, true));
        tracker.SetCamera(&steeredCamera);
        tracker.StartWebcam();
    }

    TemporaryFolder folder;
    NullDebugWindows windows;
    PreparedSourceOpener opener;
    CLevelMap levelMap;
    CCamera camera;
    LevelCamera steeredCamera{camera, levelMap};
    CHeadTracker tracker{windows, opener};
};

void BM_GrabAndProcessTracking(benchmark::State& state)
{
    std::vector<cv::Mat> frames;
    for (int i = 0; i < 8; ++i)
        frames.push_back(FaceFrame({i < 4 ? 2.0 * i : 2.0 * (8 - i), 0.0, 1.0, 0.0}));
    TrackerRun run(std::move(frames));
    run.tracker.GrabAndProcess();
    if (run.tracker.State() != Tracking) {
        state.SkipWithError("no face found");
        return;
    }
    int lost = 0;
    for (auto _ : state) {
        run.tracker.GrabAndProcess();
        if (run.tracker.State() != Tracking)
            ++lost;
    }
    state.counters["lost"] = lost;
}
BENCHMARK(BM_GrabAndProcessTracking)->Unit(benchmark::kMillisecond)->UseRealTime();

// Detection steps that find nothing: what each capture costs while no face is in view.
void BM_GrabAndProcessDetectingNothing(benchmark::State& state)
{
    // The portrait with the face moved out of view above: suit, flag and helmet remain.
    TrackerRun run(std::vector<cv::Mat>{FaceFrame({0.0, -320.0, 1.0, 0.0})});
    run.tracker.GrabAndProcess();
    if (run.tracker.State() != Detecting) {
        state.SkipWithError("a face was found");
        return;
    }
    for (auto _ : state)
        run.tracker.GrabAndProcess();
}
BENCHMARK(BM_GrabAndProcessDetectingNothing)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
