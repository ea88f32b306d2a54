#pragma once

#include <cstdint>

// Who steers the camera besides the keys, which always work during play.
enum SteeringMode : std::int32_t {
    NoCamera = 0,  // no webcam could be opened when play started
    HeadSteering = 1,  // head movements steer the camera
    KeysOnly = 2,  // only the keyboard steers
};
