#pragma once

#include "app/core/SteeringMode.h"

#include <cstdint>

// The two settings of the whole process, changed only on the user-interface thread.

// Decided again when play starts; KeysOnly until then.
extern SteeringMode g_steeringMode;
// Frames taken from the capture source per second, 1 to 50.
extern std::int32_t g_nCapturesPerSecond;
