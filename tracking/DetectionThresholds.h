#pragma once

#include <cstdint>

// The dead zones of the head steering, as the parameters dialog edits them and "configuracion"
// keeps them. The distances are percentages of the rest pose's measures; yaw and pitch are in
// the pixel units of the head measures, the roll in degrees.
struct DetectionThresholds {
    std::int32_t distanceX = 20;  // "Distancia X": side-step
    std::int32_t yawLeftLimit = -3;  // always minus yawThreshold, never stored
    std::int32_t yawThreshold = 3;  // "Angulo GiroX"
    std::int32_t pitchUpThreshold = 10;  // "Angulo GiroY Arriba"
    std::int32_t pitchDownThreshold = -1;  // "Angulo GiroY Abajo"
    std::int32_t rollThreshold = 10;  // "Angulo GiroZ": edited and kept, not used to steer
    std::int32_t distanceZ = 20;  // "Distancia Z": walk
    std::int32_t distanceY = 20;  // "Distancia Y": rise and descend
};
