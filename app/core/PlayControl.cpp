#include "app/core/PlayControl.h"

#include "app/core/GameState.h"
#include "app/core/ProcessSettings.h"
#include "app/core/TrackerOperations.h"

#include <utility>

PlayControl::PlayControl(GameState& state, TrackerOperations& tracker, std::function<bool()> keysOnlyChecked,
                         std::function<void()> started)
    : m_state(state), m_tracker(tracker), m_keysOnlyChecked(std::move(keysOnlyChecked)), m_started(std::move(started))
{
}

void PlayControl::StartPlay()
{
    if (!m_state.m_pszVideoFile && !m_tracker.StartWebcam()) {
        g_steeringMode = NoCamera;
    } else {
        g_steeringMode = m_keysOnlyChecked() ? KeysOnly : HeadSteering;
        m_tracker.OpenImageWindow();
    }
    m_state.m_bStarted = true;
    if (m_started)
        m_started();
}

void PlayControl::StartOrRequestReset()
{
    if (m_state.m_bStarted)
        m_state.m_bResetRequested = true;
    else
        StartPlay();
}
