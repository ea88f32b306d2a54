#pragma once

#include "app/TrackerControls.h"
#include "tracking/CHeadTracker.h"

#include <cstdint>
#include <functional>
#include <utility>

// The shell's tracker operations and the menu's controls carried out by the head tracker.
class HeadTrackerOperations : public TrackerControls {
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
    bool HasCapture() const override { return m_tracker.HasCapture(); }
    void SetImageView(bool on) override { m_tracker.SetImageView(on); }
    void SetFrameAView(bool on) override { m_tracker.SetFrameAView(on); }
    void SetFrameBView(bool on) override { m_tracker.SetFrameBView(on); }
    void SetValuesView(bool on) override { m_tracker.SetValuesView(on); }
    void SetPreciseDetection(bool on) override { m_tracker.SetPreciseDetection(on); }
    MotionSettings& Settings() override { return m_tracker.Settings(); }
    void UpdatePixelThresholds() override { m_tracker.UpdatePixelThresholds(); }
    PerMeasure<DeadZone> DeadZones() const override { return m_tracker.Interpreter().DeadZones(); }

    // The last capture found no frame: a video file at its end, or no source at all.
    bool OutOfFrames() const { return m_bOutOfFrames; }

private:
    CHeadTracker& m_tracker;
    bool m_bOutOfFrames = false;
    std::function<void(const PassRecord&)> m_passHandler;
};
