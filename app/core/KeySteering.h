#pragma once

class CCamera;
class CLevelMap;
class PlayControl;
struct GameState;

// Key codes of the steering keys (the Windows virtual-key codes the key table was made with).
enum VirtualKey {
    KeyReturn = 13,
    KeyPageUp = 33,
    KeyPageDown = 34,
    KeyEnd = 35,
    KeyHome = 36,
    KeyLeft = 37,
    KeyUp = 38,
    KeyRight = 39,
    KeyDown = 40,
    KeyNumpad1 = 97,
    KeyNumpad3 = 99,
    KeyNumpad7 = 103,
    KeyNumpad9 = 105,
    // The keypad's side-steps and rolls on keys every keyboard has.
    KeyK = 75,
    KeyL = 76,
    KeyComma = 188,
    KeyPeriod = 190,
};

// The keyboard: before play Enter starts it and every other key does nothing; during play
// each press of a table key, repeats included, is one fixed camera step. Comma and period
// side-step as keypad 1 and 3 do, K and L roll as keypad 7 and 9 do.
class KeySteering {
public:
    KeySteering(GameState& state, PlayControl& play, CCamera& camera, CLevelMap& levelMap);

    void OnKeyDown(int virtualKey);

private:
    void Steer(int virtualKey);

    GameState& m_state;
    PlayControl& m_play;
    CCamera& m_camera;
    CLevelMap& m_levelMap;
};
