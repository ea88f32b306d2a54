#pragma once

#include "app/HeadTrackerOperations.h"
#include "app/core/GameState.h"
#include "app/core/MonotonicClock.h"
#include "tracking/CHeadTracker.h"
#include "tracking/capture/CaptureSource.h"
#include "tracking/highgui/DebugWindowPictures.h"
#include "tracking/highgui/HighGuiWindows.h"

#include <QTimer>

#include <memory>
#include <optional>
#include <string>

class CameraLister;
class CameraMenu;
class CCamera;
class CLevelMap;
class CMainFrame;
class CRenderer;
class HeadPlotWindow;
class KeySteering;
class LevelCamera;
class MainLoop;
class MenuCommands;
class OpenGLDevice;
class PassScheduler;
class PlayControl;
class RendererDrawing;
class SoundPlugin;
class StartupTimes;
struct CommandLineOptions;

// The application: starts the program, owns the world objects, the head tracker and the state
// they share, runs one main-loop pass whenever the user interface is idle and handles the
// menu commands.
class CGameApp {
public:
    // With the system's cameras, or those `cameras` lists.
    CGameApp();
    explicit CGameApp(std::unique_ptr<CameraLister> cameras);
    ~CGameApp();
    CGameApp(const CGameApp&) = delete;
    CGameApp& operator=(const CGameApp&) = delete;

    // Start-up: main window, world objects, renderer and sound, intro picture. On false the
    // user has been told why, or has asked the program to end, and the program ends. Each stage is
    // noted in `startupTimes`, if given, up to the first frame on the screen.
    bool InitInstance(StartupTimes* startupTimes = nullptr);
    // What the command line asks for once start-up is done.
    void ApplyCommandLine(const CommandLineOptions& options);
    // One pass of the main loop; false once the program is to end (the command line's --frames
    // or --quit-at-video-end). Passes run while play goes on, paced by the display, and not
    // while a dialog, a message box or a menu is open.
    bool OnIdle();
    // Writes the last frame drawn as a PNG file; false if it cannot be written.
    bool SaveLastFrame(const std::string& path);
    // Writes what each open tracker window and "Gráficas" show as folder/<window>.png; false
    // with error set if a file cannot be written.
    bool SaveViewPictures(const std::string& folder, std::string& error) const;

    CMainFrame& MainFrame() const { return *m_pMainFrame; }
    GameState& State() { return m_state; }
    CHeadTracker& HeadTracker() { return m_headTracker; }
    CLevelMap& LevelMap() const { return *m_pLevelMap; }
    HeadPlotWindow& Plot() const { return *m_plot; }

private:
    void RaisePriority();
    void CreateMainFrame();
    void CreateWorld();
    bool InitSound();
    void ShowIntro();
    void ConnectCommands();
    void NoteStage(const std::string& stage);
    void NoteFirstFrame();

    GameState m_state;
    HighGuiWindows m_highGuiWindows;
    // The tracker's windows, keeping their last pictures to be saved at the end.
    DebugWindowPictures m_debugWindows{m_highGuiWindows};
    CaptureOpener m_captureOpener;
    // Built with the application: it reads "configuracion" and opens the sample files in the
    // writable folder; destroyed with it, which completes them.
    CHeadTracker m_headTracker{m_debugWindows, m_captureOpener};
    HeadTrackerOperations m_tracker{m_headTracker};
    MonotonicClock m_clock;
    std::unique_ptr<CMainFrame> m_pMainFrame;
    OpenGLDevice* m_pDevice = nullptr;  // a widget of the main frame
    QMetaObject::Connection m_frameRequests;
    std::unique_ptr<CLevelMap> m_pLevelMap;
    std::unique_ptr<CRenderer> m_pRenderer;
    std::unique_ptr<CCamera> m_pCamera;
    std::unique_ptr<LevelCamera> m_pSteeredCamera;
    std::unique_ptr<SoundPlugin> m_pSound;
    std::unique_ptr<RendererDrawing> m_drawing;
    std::unique_ptr<PlayControl> m_play;
    std::unique_ptr<KeySteering> m_keys;
    std::unique_ptr<MainLoop> m_mainLoop;
    std::unique_ptr<CameraLister> m_cameraLister;
    std::unique_ptr<CameraMenu> m_cameraMenu;
    std::unique_ptr<HeadPlotWindow> m_plot;
    std::unique_ptr<MenuCommands> m_commands;
    std::unique_ptr<PassScheduler> m_passes;
    // Brings the sample files up to date, also while a dialog holds the main loop.
    QTimer m_sampleTimer;
    StartupTimes* m_pStartupTimes = nullptr;
    // Passes of play left before the program quits by itself.
    std::optional<int> m_framesLeft;
    // Quit once a capture finds the video file at its end.
    bool m_bQuitAtVideoEnd = false;
};
