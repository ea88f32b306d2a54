#pragma once

class CCamera;
class CLevelMap;
class FrameDrawing;
class PassClock;
class TrackerOperations;
struct GameState;

// One pass of the game, run whenever the user interface has nothing else to do: a pending
// reset, then before play the intro picture; during play the capture pacing, the frame rate
// and the scene with its optional statistics overlay.
class MainLoop {
public:
    // Size of the screen the overlay lines are laid out on.
    static constexpr int kScreenWidth = 640;
    static constexpr int kScreenHeight = 480;

    MainLoop(GameState& state, CLevelMap& levelMap, CCamera& camera, TrackerOperations& tracker, FrameDrawing& drawing,
             PassClock& clock);

    void RunPass();
    // The frame of a pass again, and nothing else of it: the intro before play, the scene with
    // its overlay during play. For a window that needs painting anew.
    void DrawFrame();

private:
    void ResetWalk();
    void PaceCapture(double now);
    void MeasureFrameRate(double now);
    void DrawScene();
    void DrawStatistics();

    GameState& m_state;
    CLevelMap& m_levelMap;
    CCamera& m_camera;
    TrackerOperations& m_tracker;
    FrameDrawing& m_drawing;
    PassClock& m_clock;
};
