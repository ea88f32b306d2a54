#include "app/core/KeySteering.h"

#include "app/core/GameState.h"
#include "app/core/PlayControl.h"
#include "world/CCamera.h"

KeySteering::KeySteering(GameState& state, PlayControl& play, CCamera& camera, CLevelMap& levelMap)
    : m_state(state), m_play(play), m_camera(camera), m_levelMap(levelMap)
{
}

void KeySteering::OnKeyDown(int virtualKey)
{
    if (!m_state.m_bStarted) {
        if (virtualKey == KeyReturn)
            m_play.StartPlay();
        return;
    }
    Steer(virtualKey);
}

void KeySteering::Steer(int virtualKey)
{
    switch (virtualKey) {
    case KeyPageUp: m_camera.LookUp(0.05f); break;
    case KeyPageDown: m_camera.LookDown(0.05f); break;
    case KeyEnd: m_camera.Descend(0.1f); break;
    case KeyHome: m_camera.Rise(0.1f); break;
    case KeyLeft: m_camera.TurnLeft(0.05f); break;
    case KeyUp: m_camera.WalkForward(m_levelMap, 1.0f); break;
    case KeyRight: m_camera.TurnRight(0.05f); break;
    case KeyDown: m_camera.WalkBackward(m_levelMap, 1.0f); break;
    case KeyNumpad1:
    case KeyComma: m_camera.StrafeLeft(m_levelMap, 0.1f); break;
    case KeyNumpad3:
    case KeyPeriod: m_camera.StrafeRight(m_levelMap, 0.1f); break;
    case KeyNumpad7:
    case KeyK: m_camera.RotateZNegative(0.1f); break;
    case KeyNumpad9:
    case KeyL: m_camera.RotateZPositive(0.1f); break;
    default: break;
    }
}
