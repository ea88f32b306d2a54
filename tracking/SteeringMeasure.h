#pragma once

#include <array>

// The six measures head steering decides on, each against a dead zone of its own: the eye-centre
// x, eye-mouth and face-centre y offsets from the rest pose (whole pixels), the yaw and pitch cues
// (the pixel units of the head measures) and the roll (whole degrees).
enum SteeringMeasure {
    MeasureEyeCentreX,  // side-step
    MeasureEyeMouth,  // walk
    MeasureFaceCentreY,  // rise and descend
    MeasureYaw,  // turn
    MeasurePitch,  // look up and down
    MeasureRoll,  // turn, and nothing else that pass
};
inline constexpr int kSteeringMeasureCount = 6;

template <typename T>
using PerMeasure = std::array<T, kSteeringMeasureCount>;

// Between low and high a measure moves nothing, in the measure's own unit. Whether a measure
// exactly on an edge moves differs: the yaw and pitch edges do, the others do not.
struct DeadZone {
    float low = 0.0f;
    float high = 0.0f;
    bool operator==(const DeadZone& other) const { return low == other.low && high == other.high; }
    bool operator!=(const DeadZone& other) const { return !(*this == other); }
};
