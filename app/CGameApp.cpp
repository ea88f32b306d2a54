#include "app/CGameApp.h"

#include "app/CInputView.h"
#include "app/CMainFrame.h"
#include "app/CameraMenu.h"
#include "app/HeadPlotWindow.h"
#include "app/MenuCommand.h"
#include "app/MenuCommands.h"
#include "app/PassScheduler.h"
#include "app/core/CommandLineOptions.h"
#include "app/core/KeySteering.h"
#include "app/core/LevelCamera.h"
#include "app/core/MainLoop.h"
#include "app/core/PlayControl.h"
#include "app/core/RendererDrawing.h"
#include "app/core/StartupTimes.h"
#include "platform/ContentPath.h"
#include "platform/Interruption.h"
#include "platform/MessageBox.h"
#include "sound/SoundPlugin.h"
#include "tracking/capture/V4l2CameraLister.h"
#include "world/CCamera.h"
#include "world/CLevelMap.h"
#include "world/CRenderer.h"
#include "world/opengl/OpenGLDevice.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include <sys/resource.h>

namespace {

// How often the sample files are offered the time: with their own interval, no pass waits in
// memory for more than a second.
constexpr int kSampleFlushCheckMs = 250;

// How long start-up waits for the window to appear before the device is set up regardless
// (and fails if it has no context).
constexpr qint64 kWindowWaitMs = 10000;

}  // namespace

CGameApp::CGameApp() : CGameApp(std::make_unique<V4l2CameraLister>()) {}

CGameApp::CGameApp(std::unique_ptr<CameraLister> cameras) : m_cameraLister(std::move(cameras))
{
    m_sampleTimer.setInterval(kSampleFlushCheckMs);
    QObject::connect(&m_sampleTimer, &QTimer::timeout,
                     [this] { m_headTracker.FlushSampleFilesIfDue(m_clock.NowMs()); });
}

CGameApp::~CGameApp()
{
    // The device, a widget of the main frame, outlives the main loop it asks for frames.
    QObject::disconnect(m_frameRequests);
    // Before the windows go: on a display that has gone away their teardown may never return.
    m_headTracker.CloseSampleFiles();
}

bool CGameApp::InitInstance(StartupTimes* startupTimes)
{
    m_pStartupTimes = startupTimes;
    RaisePriority();
    CreateMainFrame();
    NoteStage("main window and OpenGL context");
    CreateWorld();
    NoteStage("world objects");
    // A Ctrl+C during start-up ends it between its steps; the models give up at once.
    if (NotedInterruption() != 0)
        return false;

    m_pDevice->WriteStatusText(10, 10, "Cargando ...");
    const double texturesBefore = m_pDevice->TextureLoadingMs();
    const double textsBefore = m_pDevice->StatusTextMs();
    if (!m_pRenderer->Init(*m_pDevice, MainLoop::kScreenWidth, MainLoop::kScreenHeight)) {
        m_pMainFrame->hide();
        return false;
    }
    if (NotedInterruption() != 0)
        return false;
    NoteStage("renderer: device, 23 models, textures, font");
    if (m_pStartupTimes) {
        const double renderer = m_pStartupTimes->Stages().back().ms;
        const double textures = m_pDevice->TextureLoadingMs() - texturesBefore;
        const double texts = m_pDevice->StatusTextMs() - textsBefore;
        m_pStartupTimes->Detail("textures read and uploaded", textures);
        m_pStartupTimes->Detail("progress texts shown", texts);
        m_pStartupTimes->Detail("models read and uploaded, device, font", renderer - textures - texts);
    }
    m_pDevice->WriteStatusText(10, 160, "Inicializando sonidos ...");
    if (!InitSound()) {
        ShowMessageBox(kApplicationTitle, "No se puede inicializar los sonidos");
        return false;
    }
    m_pDevice->WriteStatusText(200, 160, "OK");
    NoteStage("sound: device and clips");
    ShowIntro();
    NoteStage("intro picture read and drawn");
    // From now on the window shows frames: one of the right size whenever its size changes.
    m_frameRequests = QObject::connect(m_pDevice, &OpenGLDevice::NeedsFrame, [this] { m_mainLoop->DrawFrame(); });
    if (m_pStartupTimes)
        NoteFirstFrame();

    ConnectCommands();
    return true;
}

void CGameApp::NoteStage(const std::string& stage)
{
    if (m_pStartupTimes)
        m_pStartupTimes->Mark(stage);
}

void CGameApp::NoteFirstFrame()
{
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = QObject::connect(m_pDevice, &QOpenGLWidget::frameSwapped, [this, connection] {
        QObject::disconnect(*connection);
        m_pStartupTimes->Finish("first frame on the screen");
    });
}

void CGameApp::RaisePriority()
{
    // As high as the system lets this user go; an ordinary user usually may not raise it at all.
    setpriority(PRIO_PROCESS, 0, -20);
}

void CGameApp::CreateMainFrame()
{
    m_pMainFrame = std::make_unique<CMainFrame>();
    m_pDevice = new OpenGLDevice;
    // The renderer's 4:3 view, whatever size the window has.
    m_pDevice->SetViewSize({MainLoop::kScreenWidth, MainLoop::kScreenHeight});
    // Read while the window opens and the models load; shown at the end of start-up.
    m_pDevice->ReadAhead(NativePath("intro"));
    m_pMainFrame->View().SetDisplay(m_pDevice);
    m_pMainFrame->show();
    // The device gets its OpenGL context once the window is on the screen.
    QElapsedTimer waited;
    waited.start();
    while (!m_pDevice->isValid() && NotedInterruption() == 0 && waited.elapsed() < kWindowWaitMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
}

void CGameApp::CreateWorld()
{
    m_pLevelMap = std::make_unique<CLevelMap>();
    m_pRenderer = std::make_unique<CRenderer>();
    m_pCamera = std::make_unique<CCamera>();
    m_pSound = std::make_unique<SoundPlugin>();
    m_pSteeredCamera = std::make_unique<LevelCamera>(*m_pCamera, *m_pLevelMap);
    m_headTracker.SetCamera(m_pSteeredCamera.get());

    m_drawing = std::make_unique<RendererDrawing>(*m_pRenderer);
    m_passes =
        std::make_unique<PassScheduler>(m_clock, m_pMainFrame->screen()->refreshRate(), [this] { return OnIdle(); });
    // Samples exist only once play has started: until then nothing wakes the title screen.
    m_play = std::make_unique<PlayControl>(
        m_state, m_tracker, [this] { return m_pMainFrame->IsChecked(CommandKeysOnly); },
        [this] {
            m_passes->Start();
            m_sampleTimer.start();
        });
    m_keys = std::make_unique<KeySteering>(m_state, *m_play, *m_pCamera, *m_pLevelMap);
    m_mainLoop = std::make_unique<MainLoop>(m_state, *m_pLevelMap, *m_pCamera, m_tracker, *m_drawing, m_clock);
}

bool CGameApp::InitSound()
{
    return m_pSound->Init(22050, 2, 6) && m_pSound->LoadClips();
}

void CGameApp::ShowIntro()
{
    m_pRenderer->LoadIntro();
    m_pRenderer->BeginFrame();
    m_pRenderer->DrawIntro();
    m_pRenderer->EndFrame();
}

void CGameApp::ConnectCommands()
{
    m_pMainFrame->View().SetKeyHandler([this](int virtualKey) { m_keys->OnKeyDown(virtualKey); });
    m_cameraMenu = std::make_unique<CameraMenu>(*m_pMainFrame->Action(CommandChooseWebcam)->menu(), *m_cameraLister,
                                                m_captureOpener);
    m_plot = std::make_unique<HeadPlotWindow>();
    m_tracker.SetPassHandler([this](const PassRecord& pass) {
        m_plot->SetDeadZones(m_headTracker.Interpreter().DeadZones());
        m_plot->AddPass(m_clock.NowMs() / 1000.0, pass);
    });
    m_commands = std::make_unique<MenuCommands>(*m_pMainFrame, m_state, m_tracker, *m_play, *m_cameraMenu, *m_plot);
}

void CGameApp::ApplyCommandLine(const CommandLineOptions& options)
{
    if (options.videoFile)
        m_commands->OpenVideo(*options.videoFile);
    if (options.showStats)
        m_commands->ToggleStats();
    if (options.showViews) {
        m_commands->ToggleFrameA();
        m_commands->ToggleFrameB();
        m_commands->ToggleValues();
        m_commands->ToggleGraphs();
    }
    m_framesLeft = options.frames;
    m_bQuitAtVideoEnd = options.quitAtVideoEnd;
    m_passes->SetPaced(!options.unpaced);
    if (options.start)
        m_play->StartPlay();
}

bool CGameApp::OnIdle()
{
    m_mainLoop->RunPass();
    const bool framesDone = m_framesLeft && --*m_framesLeft == 0;
    const bool videoDone = m_bQuitAtVideoEnd && m_state.m_pszVideoFile && m_tracker.OutOfFrames();
    if (framesDone || videoDone) {
        QCoreApplication::quit();
        return false;
    }
    return true;
}

bool CGameApp::SaveLastFrame(const std::string& path)
{
    return m_pDevice->ReadBackBuffer().save(QString::fromStdString(path), "PNG");
}

bool CGameApp::SaveViewPictures(const std::string& folder, std::string& error) const
{
    if (!m_debugWindows.Save(folder, error))
        return false;
    if (!m_plot || !m_plot->isVisible())
        return true;
    const QString file =
        QDir(QString::fromStdString(folder)).filePath(QString::fromUtf8(HeadPlotWindow::kTitle) + ".png");
    if (QDir().mkpath(QString::fromStdString(folder)) && m_plot->grab().save(file, "PNG"))
        return true;
    error = "cannot write " + file.toStdString();
    return false;
}
