#include "app/core/PlayControl.h"

#include "app/core/GameState.h"
#include "app/core/ProcessSettings.h"
#include "app/core/TrackerOperations.h"

#include <utility>

PlayControl::PlayControl(GameState& state, TrackerOperations& tracker, std::function<bool()> keysOnlyChecked)
    : m_state(state), m_tracker(tracker), m_keysOnlyChecked(std::move(keysOnlyChecked))
{
}

void PlayControl::StartPlay()
{
    if (!m_state.m_pszVideoFile && !m_tracker.StartWebcam()) {
        g_steeringMode = NoCamera;
        m_state.m_bStarted = true;
        return;
    }
    g_steeringMode = m_keysOnlyChecked() ? KeysOnly : HeadSteering;
    m_tracker.OpenImageWindow();
    m_state.m_bStarted = true;
}

void PlayControl::StartOrRequestReset()
{
    if (m_state.m_bStarted)
        m_state.m_bResetRequested = true;
    else
        StartPlay();
}
