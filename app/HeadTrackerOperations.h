#pragma once

#include "app/core/TrackerOperations.h"
#include "tracking/CHeadTracker.h"

// The shell's tracker operations carried out by the head tracker.
class HeadTrackerOperations : public TrackerOperations {
public:
    explicit HeadTrackerOperations(CHeadTracker& tracker) : m_tracker(tracker) {}

    void SetWorld(CCamera* camera, CLevelMap* levelMap) override { m_tracker.SetWorld(camera, levelMap); }
    bool StartWebcam() override { return m_tracker.StartWebcam(); }
    double OpenVideoFile(const std::string& path) override { return m_tracker.OpenVideoFile(path); }
    void OpenImageWindow() override { m_tracker.OpenImageWindow(); }
    bool GrabAndProcess() override { return m_tracker.GrabAndProcess(); }
    void InterpretBetweenFrames() override { m_tracker.InterpretBetweenFrames(); }
    void ResetTracking() override { m_tracker.ResetTracking(); }

private:
    CHeadTracker& m_tracker;
};
