#pragma once

#include <cstdint>

// The six head measures of one tracking step: whole pixels, yaw and pitch in the units of the
// head measures, roll in whole degrees.
struct HeadSample {
    std::int32_t eyeCentreX = 0;
    std::int32_t eyeMouth = 0;
    std::int32_t faceCentreY = 0;
    float yaw = 0.0f;
    float pitch = 0.0f;
    std::int32_t roll = 0;

    // The measures of the eye positions and the mouth height (frame pixels), with the given cues.
    static HeadSample FromFeatures(float leftEyeX, float leftEyeY, float rightEyeX, float rightEyeY, float mouthY,
                                   float yaw, float pitch);
};
