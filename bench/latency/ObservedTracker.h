#pragma once

#include "app/core/TrackerOperations.h"

#include <optional>

class CCamera;
class PassClock;

// What one call of the main loop into the tracker did to the camera.
struct TrackerCall {
    bool captured = false;  // GrabAndProcess, not InterpretBetweenFrames
    bool cameraMoved = false;
    double endMs = 0.0;  // when the call returned, on the main loop's clock
};

// Passes the main loop's calls on to the tracker and watches the camera around the capture
// step and the interpretation between captures.
class ObservedTracker : public TrackerOperations {
public:
    ObservedTracker(TrackerOperations& tracker, const CCamera& camera, PassClock& clock);

    bool StartWebcam() override { return m_tracker.StartWebcam(); }
    double OpenVideoFile(const std::string& path) override { return m_tracker.OpenVideoFile(path); }
    void OpenImageWindow() override { m_tracker.OpenImageWindow(); }
    bool GrabAndProcess() override;
    void InterpretBetweenFrames() override;
    void ResetTracking() override { m_tracker.ResetTracking(); }

    // The call made since the last TakeCall, if any.
    std::optional<TrackerCall> TakeCall();

private:
    struct Pose;
    Pose CameraPose() const;
    void Note(bool captured, const Pose& before);

    TrackerOperations& m_tracker;
    const CCamera& m_camera;
    PassClock& m_clock;
    std::optional<TrackerCall> m_call;
};
