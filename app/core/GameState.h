#pragma once

#include <cstdint>
#include <optional>
#include <string>

// What the main loop, the keys, the menu commands and the dialogs share for the whole run.
// Times are milliseconds since the program started.
struct GameState {
    // Frames per second of the video file chosen as source; 0.0 until one is opened.
    double m_dVideoFrameRate = 0.0;
    bool m_bStarted = false;
    // Statistics overlay ("Rendimiento").
    bool m_bShowStats = false;
    float m_fFramesPerSecond = 0.0f;
    double m_dLastRateTime = 0.0;
    double m_dLastCaptureTime = 0.0;
    // Frames since the last frame-rate computation.
    std::int32_t m_nFrameCount = 0;
    // Set while a video file, not the webcam, is the capture source.
    std::optional<std::string> m_pszVideoFile;
    // Asks the next pass to restart the walk and the tracking.
    bool m_bResetRequested = false;
};
