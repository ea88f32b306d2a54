#pragma once

#include <functional>

class TrackerOperations;
struct GameState;

// Starting play and restarting the walk. Starting opens the capture source and decides the
// steering mode from the "Solo teclas" check mark, read when it is needed.
class PlayControl {
public:
    // `started` is told once play has started.
    PlayControl(GameState& state, TrackerOperations& tracker, std::function<bool()> keysOnlyChecked,
                std::function<void()> started = {});

    // Enter before play: with no video file the webcam is opened, and without one play starts
    // with no head steering and no "Imagen" window.
    void StartPlay();
    // "Empezar": starts play, or during play asks the next pass to restart the walk.
    void StartOrRequestReset();

private:
    GameState& m_state;
    TrackerOperations& m_tracker;
    std::function<bool()> m_keysOnlyChecked;
    std::function<void()> m_started;
};
