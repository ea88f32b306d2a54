// "configuracion" as any bytes: the reader must not fail on a file it can open, what it read
// must survive a save and a load unchanged, and the interpreter must steer with it.
#include "FuzzSupport.h"

#include "tracking/MotionInterpreter.h"
#include "tracking/NullDebugWindows.h"
#include "tracking/SaturatingInt.h"
#include "tracking/ThresholdFile.h"
#include "world/CCamera.h"
#include "world/CLevelMap.h"

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

struct World {
    NullDebugWindows windows;
    CLevelMap map;
    CCamera camera;
    MotionInterpreter interpreter{windows};
    World()
    {
        interpreter.CloseSampleFiles();
        interpreter.SetWorld(&camera, &map);
    }
};

World* g_world = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::EnterTemporaryFolder();
    fuzz::SilenceMessages();
    g_world = new World;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::WriteFile(ThresholdFile::kFileName, std::string(reinterpret_cast<const char*>(data), size));

    DetectionThresholds loaded;
    fuzz::Require(ThresholdFile::Load(loaded), "a readable file loads");
    fuzz::Require(loaded.yawLeftLimit == NegateSaturating(loaded.yawThreshold), "left limit is minus the yaw threshold");
    fuzz::Require(ThresholdFile::Save(loaded), "the thresholds save");
    DetectionThresholds again;
    fuzz::Require(ThresholdFile::Load(again) && Same(loaded, again), "what was saved loads back the same");

    // The values as the program uses them: dead zones from a rest pose, then a few passes.
    MotionInterpreter& interpreter = g_world->interpreter;
    g_world->map.ResetCell();
    g_world->camera.Reset();
    interpreter.LoadThresholds();
    interpreter.SetRestPose(120.0f, 100.0f, 180.0f, 101.0f, 150.0f, 160.0f);
    interpreter.UpdatePixelThresholds();
    const float drift[] = {0.0f, 40.0f, -40.0f, 15.0f, -15.0f, 3.0f};
    for (float d : drift) {
        interpreter.SetYawMeasure(d);
        interpreter.SetPitchMeasure(-d);
        interpreter.AddSample(120.0f + d, 100.0f - d, 180.0f + d, 101.0f + d, 150.0f, 160.0f + d);
    }
    fuzz::Require(g_world->map.GetCurrentCell() >= 0 && g_world->map.GetCurrentCell() < CLevelMap::kCellCount,
                  "the current cell stays valid");
    return 0;
}
