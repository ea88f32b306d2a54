// "configuracion" as any bytes: the reader must not fail on a file it can open, what it read
// must survive a save and a load unchanged, and the interpreter must steer with it: every step
// it asks of the camera a finite number, none negative (the direction is in the move's name).
#include "FuzzSupport.h"

#include "tracking/MotionInterpreter.h"
#include "tracking/NullDebugWindows.h"
#include "tracking/SaturatingInt.h"
#include "tracking/SteeredCamera.h"
#include "tracking/ThresholdFile.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

namespace {

bool Same(const DetectionThresholds& a, const DetectionThresholds& b)
{
    return a.distanceX == b.distanceX && a.distanceY == b.distanceY && a.distanceZ == b.distanceZ &&
        a.yawThreshold == b.yawThreshold && a.yawLeftLimit == b.yawLeftLimit &&
        a.pitchUpThreshold == b.pitchUpThreshold && a.pitchDownThreshold == b.pitchDownThreshold &&
        a.rollThreshold == b.rollThreshold;
}

// Checks the step of every move and makes none.
class StepChecker : public SteeredCamera {
public:
    void TurnLeft(float radians) override { Check(radians); }
    void TurnRight(float radians) override { Check(radians); }
    void LookUp(float step) override { Check(step); }
    void LookDown(float step) override { Check(step); }
    void LevelView() override {}
    void StrafeLeft(float step) override { Check(step); }
    void StrafeRight(float step) override { Check(step); }
    void WalkForward(float step) override { Check(step); }
    void WalkBackward(float step) override { Check(step); }
    void Rise(float step) override { Check(step); }
    void Descend(float step) override { Check(step); }

private:
    static void Check(float step)
    {
        fuzz::Require(std::isfinite(step), "every step is a finite number");
        fuzz::Require(step >= 0.0f, "no step is negative");
    }
};

struct Steering {
    NullDebugWindows windows;
    StepChecker camera;
    MotionInterpreter interpreter{windows};
    Steering()
    {
        interpreter.CloseSampleFiles();
        interpreter.SetCamera(&camera);
    }
};

Steering* g_steering = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::EnterTemporaryFolder();
    fuzz::SilenceMessages();
    g_steering = new Steering;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::WriteFile(ThresholdFile::kFileName, std::string(reinterpret_cast<const char*>(data), size));

    DetectionThresholds loaded;
    fuzz::Require(ThresholdFile::Load(loaded), "a readable file loads");
    fuzz::Require(loaded.yawLeftLimit == NegateSaturating(loaded.yawThreshold),
                  "left limit is minus the yaw threshold");
    fuzz::Require(ThresholdFile::Save(loaded), "the thresholds save");
    DetectionThresholds again;
    fuzz::Require(ThresholdFile::Load(again), "what was saved loads");
    fuzz::Require(Same(loaded, again), "what was saved loads back the same");

    // The values as the program uses them: dead zones from a rest pose, then a few passes.
    MotionInterpreter& interpreter = g_steering->interpreter;
    interpreter.Settings().LoadThresholds();
    interpreter.SetRestPose(120.0f, 100.0f, 180.0f, 101.0f, 150.0f, 160.0f);
    interpreter.UpdatePixelThresholds();
    const float drift[] = {0.0f, 40.0f, -40.0f, 15.0f, -15.0f, 3.0f};
    for (float d : drift) {
        interpreter.SetYawMeasure(d);
        interpreter.SetPitchMeasure(-d);
        interpreter.AddSample(120.0f + d, 100.0f - d, 180.0f + d, 101.0f + d, 150.0f, 160.0f + d);
    }
    return 0;
}
