#pragma once

#include "app/core/LevelCamera.h"
#include "tools/replay/CameraMoves.h"
#include "tracking/CHeadTracker.h"
#include "tracking/NullDebugWindows.h"
#include "tracking/capture/CaptureSource.h"
#include "world/CCamera.h"
#include "world/CLevelMap.h"

#include <array>
#include <optional>
#include <string>

// What happened to one captured frame of a replay.
struct ReplayLine {
    int frame = 0;
    // "detecting" (no face), "found" (a detection found one), "tracking" (followed), "lost"
    // (tracking failed; detecting again).
    std::string state;
    // Eyes and mouth of face 0 after the step (found and tracking only).
    std::optional<std::array<double, 6>> features;
    // Cost of the tracking step (tracking and lost), yaw and pitch measures (tracking).
    std::optional<double> cost;
    std::optional<int> yaw;
    std::optional<int> pitch;
    CameraPose camera;
    int cell = 0;
    std::string moves;

    static std::string Header(char separator);
    // Fields separated by separator; absent values are "-" (text) or empty (CSV).
    std::string Format(char separator) const;
};

// The head tracker with its interpreter steering a camera through the level map, over a video
// file, without windows; the camera plays its clips on the current sound plugin, if any. Like
// the program, it reads "configuracion" from the working directory (creating it when missing)
// and writes the six sample files there.
class Replay {
public:
    Replay();

    // False when the file cannot be opened.
    bool Open(const std::string& videoFile, bool preciseDetection);
    double FrameRate() const { return m_frameRate; }
    const CHeadTracker& Tracker() const { return m_tracker; }
    // Grabs and processes the next frame; empty at the end of the video.
    std::optional<ReplayLine> Step();

private:
    NullDebugWindows m_windows;
    CaptureOpener m_opener;
    CLevelMap m_levelMap;
    CCamera m_camera;
    LevelCamera m_steeredCamera{m_camera, m_levelMap};
    CHeadTracker m_tracker;
    double m_frameRate = 0.0;
    int m_frame = 0;
};
