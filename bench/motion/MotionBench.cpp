// Cost of the head steering per tracking step (AddSample: smoothing plus one interpretation pass)
// and per pass between captures (Interpret), with the sample files written and the moves handed
// to a camera that takes them (the camera's own cost is the world's). Runs in a temporary
// folder, where it writes "configuracion" and the sample files.
#include "tests/support/TemporaryFolder.h"
#include "tracking/DebugWindows.h"
#include "tracking/MotionInterpreter.h"
#include "tracking/SteeredCamera.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// Draws the panel but shows it nowhere.
class DiscardingWindows : public DebugWindows {
public:
    void Create(const std::string&) override {}
    void Destroy(const std::string&) override {}
    void Show(const std::string&, const cv::Mat& image) override { benchmark::DoNotOptimize(image.data); }
};

// Takes every move and makes none.
class DiscardingCamera : public SteeredCamera {
public:
    void TurnLeft(float radians) override { benchmark::DoNotOptimize(radians); }
    void TurnRight(float radians) override { benchmark::DoNotOptimize(radians); }
    void LookUp(float step) override { benchmark::DoNotOptimize(step); }
    void LookDown(float step) override { benchmark::DoNotOptimize(step); }
    void LevelView() override {}
    void StrafeLeft(float step) override { benchmark::DoNotOptimize(step); }
    void StrafeRight(float step) override { benchmark::DoNotOptimize(step); }
    void WalkForward(float step) override { benchmark::DoNotOptimize(step); }
    void WalkBackward(float step) override { benchmark::DoNotOptimize(step); }
    void Rise(float step) override { benchmark::DoNotOptimize(step); }
    void Descend(float step) override { benchmark::DoNotOptimize(step); }
};

struct Steering {
    DiscardingWindows windows;
    DiscardingCamera camera;
    MotionInterpreter interpreter{windows};

    explicit Steering(bool withCamera)
    {
        if (withCamera)
            interpreter.SetCamera(&camera);
        interpreter.SetRestPose(100, 100, 140, 100, 120, 160);
        interpreter.UpdatePixelThresholds();
        interpreter.SetYawMeasure(4);
        interpreter.SetPitchMeasure(2);
    }

    // A face that side-steps, walks and turns a little.
    void Add(int i)
    {
        const float x = static_cast<float>(i % 40);
        interpreter.AddSample(100 + x, 100, 140 + x, 102, 120 + x, 175);
    }
};

void BM_AddSample(benchmark::State& state)
{
    Steering steering(state.range(0) != 0);
    int i = 0;
    for (auto _ : state)
        steering.Add(i++);
}
BENCHMARK(BM_AddSample)->ArgName("camera")->Arg(0)->Arg(1);

void BM_InterpretBetweenCaptures(benchmark::State& state)
{
    Steering steering(true);
    for (int i = 0; i < 5; ++i)
        steering.Add(i);
    for (auto _ : state)
        steering.interpreter.Interpret();
}
BENCHMARK(BM_InterpretBetweenCaptures);

void BM_InterpretWithValuesPanel(benchmark::State& state)
{
    Steering steering(true);
    for (int i = 0; i < 5; ++i)
        steering.Add(i);
    steering.interpreter.ShowValuesWindow();
    for (auto _ : state)
        steering.interpreter.Interpret();
}
BENCHMARK(BM_InterpretWithValuesPanel);

}  // namespace

int main(int argc, char** argv)
{
    const TemporaryFolder folder;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
