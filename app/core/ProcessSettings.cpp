#include "app/core/ProcessSettings.h"

SteeringMode g_steeringMode = KeysOnly;
std::int32_t g_nCapturesPerSecond = 5;
