#pragma once

#include "app/core/FrameDrawing.h"
#include "app/core/PassClock.h"
#include "app/core/TrackerOperations.h"

#include <functional>
#include <string>
#include <vector>

// Calls of the drawing and the tracker, in the order they happened.
using CallLog = std::vector<std::string>;

class FakeClock : public PassClock {
public:
    double now = 0.0;
    int reads = 0;
    double NowMs() override
    {
        ++reads;
        return now;
    }
};

class RecordingDrawing : public FrameDrawing {
public:
    explicit RecordingDrawing(CallLog& log) : m_log(log) {}

    struct TextLine {
        std::string text;
        int line;
        int width;
        int height;
    };
    std::vector<TextLine> lines;

    void BeginFrame() override { m_log.push_back("BeginFrame"); }
    void DrawIntro() override { m_log.push_back("DrawIntro"); }
    void DrawScene(const CLevelMap&) override { m_log.push_back("DrawScene"); }
    void DrawTextLine(const char* text, int line, int width, int height) override
    {
        m_log.push_back("DrawTextLine");
        lines.push_back({text, line, width, height});
    }
    void EndFrame() override { m_log.push_back("EndFrame"); }

private:
    CallLog& m_log;
};

class RecordingTracker : public TrackerOperations {
public:
    explicit RecordingTracker(CallLog& log) : m_log(log) {}

    bool cameraPresent = false;
    double videoFrameRate = 0.0;
    // Runs inside ResetTracking, to look at the world at that moment.
    std::function<void()> onReset;

    void SetWorld(CCamera*, CLevelMap*) override { m_log.push_back("SetWorld"); }
    bool StartWebcam() override
    {
        m_log.push_back("StartWebcam");
        return cameraPresent;
    }
    double OpenVideoFile(const std::string&) override
    {
        m_log.push_back("OpenVideoFile");
        return videoFrameRate;
    }
    void OpenImageWindow() override { m_log.push_back("OpenImageWindow"); }
    bool GrabAndProcess() override
    {
        m_log.push_back("GrabAndProcess");
        return true;
    }
    void InterpretBetweenFrames() override { m_log.push_back("InterpretBetweenFrames"); }
    void ResetTracking() override
    {
        m_log.push_back("ResetTracking");
        if (onReset)
            onReset();
    }

private:
    CallLog& m_log;
};
