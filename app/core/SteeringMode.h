#pragma once

#include <cstdint>

// Who steers the camera besides the keys, which always work during play.
enum SteeringMode : std::int32_t {
    NoCamera = 0,      // no webcam could be opened when play started
    HeadSteering = 1,  // head movements steer the camera
    KeysOnly = 2,      // only the keyboard steers
};

// Decided again when play starts; KeysOnly until then.
extern SteeringMode g_steeringMode;
// Frames taken from the capture source per second, 1 to 50.
extern std::int32_t g_nCapturesPerSecond;
