#pragma once

#include "tracking/HeadSample.h"

#include <cstdint>

// What the steering decides on: the smoothed measures, and the last raw feature positions
// (whole pixels) for the values panel.
struct SmoothedHead {
    HeadSample average;
    std::int32_t leftEyeX = 0;
    std::int32_t leftEyeY = 0;
    std::int32_t rightEyeX = 0;
    std::int32_t rightEyeY = 0;
    std::int32_t mouthX = 0;
    std::int32_t mouthY = 0;
};
