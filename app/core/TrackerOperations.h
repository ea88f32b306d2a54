#pragma once

#include <string>

// What the shell asks of the head tracker: the capture source, one capture step, the
// interpretation between captures and the reset of the tracking.
class TrackerOperations {
public:
    virtual ~TrackerOperations() = default;

    // Opens the default webcam; false when there is none.
    virtual bool StartWebcam() = 0;
    // Opens a video file as the source; its frame rate, or 0.0 when it cannot be opened.
    virtual double OpenVideoFile(const std::string& path) = 0;
    // Opens the "Imagen" window that shows what the tracker sees.
    virtual void OpenImageWindow() = 0;
    // Grabs one frame and runs one detection or tracking step; false when nothing was grabbed.
    virtual bool GrabAndProcess() = 0;
    // Keeps steering with the last head measures between two captures.
    virtual void InterpretBetweenFrames() = 0;
    // Drops the followed face; the next face found sets a new rest pose.
    virtual void ResetTracking() = 0;
};
