#pragma once

#include "tracking/RestPose.h"
#include "tracking/SmoothedHead.h"
#include "tracking/SteeringMeasure.h"

#include <cstdint>

// One value per sample file, as appended after each interpretation pass.
struct SampleValues {
    std::int32_t movX = 0;
    std::int32_t movY = 0;
    std::int32_t movZ = 0;
    std::int32_t giroX = 0;
    std::int32_t giroY = 0;
    std::int32_t giroZ = 0;
};

// What one interpretation pass measured and decided, for the sample files, the values panel and
// "Gráficas". The offsets are 0 when their step did not run in the pass.
struct PassRecord {
    SmoothedHead head;
    RestPose rest;
    // The measures that made a camera move in this pass (or would have, with no world to move).
    PerMeasure<bool> moved{};
    std::int32_t dx = 0;  // |eye-centre x offset|
    std::int32_t dy = 0;  // |face-centre y offset|
    std::int32_t signedDy = 0;  // face-centre y offset, positive when the face is lower
    std::int32_t dz = 0;  // |eye-mouth distance offset|
    bool faceRightOfRest = false;  // smoothed eye-centre x beyond the rest pose's (side-step left)
    bool faceNearer = false;  // smoothed eye-mouth distance beyond the rest pose's (forward)
    float thresholdX = 0.0f;
    float thresholdY = 0.0f;
    float thresholdZ = 0.0f;

    // Whether each offset left its dead zone, and by how many whole pixels.
    bool OutsideX() const { return !(dx < thresholdX); }
    bool OutsideY() const { return !(dy <= thresholdY); }
    bool OutsideZ() const { return !(dz <= thresholdZ); }
    std::int32_t BeyondX() const;
    std::int32_t BeyondY() const;
    std::int32_t BeyondZ() const;

    // Left, descend and back are negative; right, rise and forward positive; 0 inside.
    SampleValues Samples() const;
    // Each measure as the pass compares it with its dead zone, whether or not its step ran: the
    // offsets from the rest pose truncated to whole pixels, the cues as smoothed.
    PerMeasure<float> Measures() const;
};
