#include "app/core/MainLoop.h"

#include "app/core/FrameDrawing.h"
#include "app/core/GameState.h"
#include "app/core/PassClock.h"
#include "app/core/ProcessSettings.h"
#include "app/core/TrackerOperations.h"
#include "world/CCamera.h"
#include "world/CLevelMap.h"

#include <cstdio>

MainLoop::MainLoop(GameState& state, CLevelMap& levelMap, CCamera& camera, TrackerOperations& tracker,
                   FrameDrawing& drawing, PassClock& clock)
    : m_state(state), m_levelMap(levelMap), m_camera(camera), m_tracker(tracker), m_drawing(drawing), m_clock(clock)
{
}

void MainLoop::RunPass()
{
    if (m_state.m_bResetRequested)
        ResetWalk();

    if (m_state.m_bStarted) {
        const double now = m_clock.NowMs();
        ++m_state.m_nFrameCount;
        PaceCapture(now);
        MeasureFrameRate(now);
    }
    DrawFrame();
}

void MainLoop::DrawFrame()
{
    if (!m_state.m_bStarted) {
        m_drawing.BeginFrame();
        m_drawing.DrawIntro();
        m_drawing.EndFrame();
        return;
    }
    DrawScene();
}

void MainLoop::ResetWalk()
{
    m_levelMap.ResetCell();
    m_camera.Reset();
    m_tracker.ResetTracking();
    m_state.m_bResetRequested = false;
}

void MainLoop::PaceCapture(double now)
{
    const double elapsed = now - m_state.m_dLastCaptureTime;
    // A file period only exists for a file with a known, positive frame rate; 1000.0 / 0.0
    // would never be exceeded either.
    const bool fileFrameDue =
        m_state.m_pszVideoFile && m_state.m_dVideoFrameRate > 0.0 && elapsed > 1000.0 / m_state.m_dVideoFrameRate;
    // The captures-per-second period is an integer number of milliseconds (333 at 3 per second).
    const bool captureDue = fileFrameDue || elapsed > 1000 / g_nCapturesPerSecond;

    if (captureDue) {
        if (g_steeringMode == HeadSteering)
            m_tracker.GrabAndProcess();
        m_state.m_dLastCaptureTime = now;
    } else if (g_steeringMode == HeadSteering) {
        m_tracker.InterpretBetweenFrames();
    }
}

void MainLoop::MeasureFrameRate(double now)
{
    const double interval = now - m_state.m_dLastRateTime;
    if (interval > 1000.0) {
        m_state.m_fFramesPerSecond = static_cast<float>((m_state.m_nFrameCount * 1000) / interval);
        m_state.m_dLastRateTime = now;
        m_state.m_nFrameCount = 0;
    }
}

void MainLoop::DrawScene()
{
    m_drawing.BeginFrame();
    m_drawing.DrawScene(m_levelMap);
    if (m_state.m_bShowStats)
        DrawStatistics();
    m_drawing.EndFrame();
}

void MainLoop::DrawStatistics()
{
    char text[256];
    std::snprintf(text, sizeof text, "Frames por segundo D3D: %f\n", static_cast<double>(m_state.m_fFramesPerSecond));
    m_drawing.DrawTextLine(text, 0, kScreenWidth, kScreenHeight);
    std::snprintf(text, sizeof text, "Posicion X: %f\t Posicion\tZ:%f\n", static_cast<double>(m_camera.Eye().x),
                  static_cast<double>(m_camera.Eye().z));
    m_drawing.DrawTextLine(text, 1, kScreenWidth, kScreenHeight);
    std::snprintf(text, sizeof text, "Casilla Actual:%d\n", static_cast<int>(m_levelMap.GetCurrentCell()));
    m_drawing.DrawTextLine(text, 2, kScreenWidth, kScreenHeight);
}
