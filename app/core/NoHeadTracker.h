#pragma once

#include "app/core/TrackerOperations.h"

// The tracker of a program without head tracking: no camera can be opened and no file read,
// so play starts with the keys alone.
class NoHeadTracker : public TrackerOperations {
public:
    void SetWorld(CCamera*, CLevelMap*) override {}
    bool StartWebcam() override { return false; }
    double OpenVideoFile(const std::string&) override { return 0.0; }
    void OpenImageWindow() override {}
    bool GrabAndProcess() override { return false; }
    void InterpretBetweenFrames() override {}
    void ResetTracking() override {}
};
