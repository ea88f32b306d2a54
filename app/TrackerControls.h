#pragma once

#include "app/core/TrackerOperations.h"
#include "tracking/SteeringMeasure.h"

class MotionSettings;

// The head tracker as the menu commands see it: what the main loop asks, and whether a source is
// open, the tracker's windows, the detection mode and the settings of the parameter dialogs.
class TrackerControls : public TrackerOperations {
public:
    virtual bool HasCapture() const = 0;
    // The windows "Imagen", "Frame", "Frame B" and "Parámetros".
    virtual void SetImageView(bool on) = 0;
    virtual void SetFrameAView(bool on) = 0;
    virtual void SetFrameBView(bool on) = 0;
    virtual void SetValuesView(bool on) = 0;
    // Detection on the full-size frame ("Detecta Preciso").
    virtual void SetPreciseDetection(bool on) = 0;
    // The thresholds and switches the parameter dialogs edit; after new distances, the pixel
    // dead zones are recomputed from them.
    virtual MotionSettings& Settings() = 0;
    virtual void UpdatePixelThresholds() = 0;
    // Each measure's dead zone as the next pass will use it.
    virtual PerMeasure<DeadZone> DeadZones() const = 0;
};
