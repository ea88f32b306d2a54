#pragma once

#include <functional>
#include <string>

class CHeadTracker;
class CMainFrame;
class PlayControl;
struct GameState;

// What the main frame's menu commands do: start and reset play, choose the capture source,
// switch between head and keyboard steering, switch the tracker's windows, the statistics
// overlay and precise detection, and open the dialogs. Esc ends the program as "&Salir" does.
// Check marks are the only record of the switches: each toggle reads its mark, calls its
// switch with the opposite, then moves the mark.
class MenuCommands {
public:
    MenuCommands(CMainFrame& frame, GameState& state, CHeadTracker& tracker, PlayControl& play);
    MenuCommands(const MenuCommands&) = delete;
    MenuCommands& operator=(const MenuCommands&) = delete;

    // "Abrir" once a file is chosen: the file is the capture source from now on.
    void OpenVideo(const std::string& path);
    // "Rendimiento".
    void ToggleStats();
    // "FrameA", "FrameB" and "Valores".
    void ToggleFrameA();
    void ToggleFrameB();
    void ToggleValues();

    // The message of the help commands (the program has no help pages).
    static const char* HelpText();

private:
    void Connect(int command, void (MenuCommands::*handler)());
    void Toggle(int command, const std::function<void(bool)>& switchTo);

    void OnStart();
    void OnOpen();
    void OnWebcam();
    void OnKeysOnly();
    void OnCamera();
    void OnPreciseDetection();
    void OnParameters();
    void OnMovementOptions();
    void OnCapturesPerSecond();
    void OnHelp();
    void OnAbout();
    void OnExit();
    // The "&Archivo" popup is opening.
    void OnFileMenuShown();

    CMainFrame& m_frame;
    GameState& m_state;
    CHeadTracker& m_tracker;
    PlayControl& m_play;
};
