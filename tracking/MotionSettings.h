#pragma once

#include "tracking/DetectionThresholds.h"
#include "tracking/MovementOptions.h"

#include <cstdint>

// What the player tunes of the head steering: the dead zones, kept in "configuracion", and the
// movement switches, which hold for the run.
class MotionSettings {
public:
    const DetectionThresholds& Thresholds() const { return m_thresholds; }
    // One threshold, a field of DetectionThresholds; the left turn limit is not set but always
    // follows the yaw threshold.
    void SetThreshold(std::int32_t DetectionThresholds::*threshold, std::int32_t value);

    MovementOptions& Options() { return m_options; }
    const MovementOptions& Options() const { return m_options; }

    // The thresholds from "configuracion", or the defaults (tracking/ThresholdFile.h).
    bool LoadThresholds();
    bool SaveThresholds() const;

private:
    DetectionThresholds m_thresholds;
    MovementOptions m_options;
};
