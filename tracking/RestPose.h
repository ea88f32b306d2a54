#pragma once

#include <cstdint>

// The head's measures when the face was first found, in frame pixels; the dead zones are
// taken around them.
struct RestPose {
    float restEyeCentreX = 0.0f;  // x midway between the eyes
    float restEyeY = 0.0f;  // mean y of the eyes
    std::int32_t restFaceCentreY = 0;  // midway between eye y and mouth y
    float restEyeMouth = 0.0f;  // mouth y minus mean eye y
};
