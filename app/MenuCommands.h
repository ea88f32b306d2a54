#pragma once

#include <functional>
#include <string>

class CameraMenu;
class CMainFrame;
class HeadPlotWindow;
class HelpWindow;
class PlayControl;
class TrackerControls;
struct GameState;

// What the main frame's menu commands do: start and reset play, choose the capture source,
// switch between head and keyboard steering, switch the tracker's windows, "Gráficas", the
// statistics overlay and precise detection, open the dialogs and the help. Esc ends the program
// as "&Salir" does.
// Check marks are the only record of the switches: each toggle reads its mark, calls its
// switch with the opposite, then moves the mark.
class MenuCommands {
public:
    MenuCommands(CMainFrame& frame, GameState& state, TrackerControls& tracker, PlayControl& play, CameraMenu& cameras,
                 HeadPlotWindow& plot);
    MenuCommands(const MenuCommands&) = delete;
    MenuCommands& operator=(const MenuCommands&) = delete;

    // "Abrir" once a file is chosen: the file is the capture source from now on.
    void OpenVideo(const std::string& path);
    // "Rendimiento".
    void ToggleStats();
    // "FrameA", "FrameB", "Valores" and "Gráficas".
    void ToggleFrameA();
    void ToggleFrameB();
    void ToggleValues();
    void ToggleGraphs();

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
    // A webcam, "Ninguna" or a size was chosen in "Elegir webcam".
    void OnCameraChosen();

    CMainFrame& m_frame;
    GameState& m_state;
    TrackerControls& m_tracker;
    PlayControl& m_play;
    CameraMenu& m_cameras;
    HeadPlotWindow& m_plot;
    // Made when first asked for; a window of the frame's, which owns it.
    HelpWindow* m_help = nullptr;
};
