#pragma once

#include "app/core/TrackerOperations.h"
#include "tracking/CHeadTracker.h"

#include <cstdint>
#include <functional>
#include <utility>

// The shell's tracker operations carried out by the head tracker.
class HeadTrackerOperations : public TrackerOperations {
public:
    explicit HeadTrackerOperations(CHeadTracker& tracker) : m_tracker(tracker) {}

    // Called with each interpretation pass a capture makes, at the capture rate: the one of
    // the new head sample, or of the step that lost the face.
    void SetPassHandler(std::function<void(const PassRecord&)> handler) { m_passHandler = std::move(handler); }

    bool StartWebcam() override
    {
        m_bOutOfFrames = false;
        return m_tracker.StartWebcam();
    }
    double OpenVideoFile(const std::string& path) override
    {
        m_bOutOfFrames = false;
        return m_tracker.OpenVideoFile(path);
    }
    void OpenImageWindow() override { m_tracker.OpenImageWindow(); }
    bool GrabAndProcess() override
    {
        const std::uint64_t passes = m_tracker.Interpreter().PassCount();
        m_bOutOfFrames = !m_tracker.GrabAndProcess();
        if (m_passHandler && m_tracker.Interpreter().PassCount() != passes)
            m_passHandler(m_tracker.Interpreter().LastPass());
        return !m_bOutOfFrames;
    }
    void InterpretBetweenFrames() override { m_tracker.InterpretBetweenFrames(); }
    void ResetTracking() override { m_tracker.ResetTracking(); }

    // The last capture found no frame: a video file at its end, or no source at all.
    bool OutOfFrames() const { return m_bOutOfFrames; }

private:
    CHeadTracker& m_tracker;
    bool m_bOutOfFrames = false;
    std::function<void(const PassRecord&)> m_passHandler;
};
