#include "app/MenuCommands.h"

#include "app/CAboutDialog.h"
#include "app/CFrameCaptura.h"
#include "app/CMainFrame.h"
#include "app/CParamDeteccion.h"
#include "app/CParametros.h"
#include "app/CameraMenu.h"
#include "app/HeadPlotWindow.h"
#include "app/HelpWindow.h"
#include "app/MenuCommand.h"
#include "app/TrackerControls.h"
#include "app/core/GameState.h"
#include "app/core/KeysOnlyToggle.h"
#include "app/core/PlayControl.h"
#include "app/core/ProcessSettings.h"
#include "platform/MessageBox.h"
#include "tracking/capture/CaptureSource.h"

#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QShortcut>

MenuCommands::MenuCommands(CMainFrame& frame, GameState& state, TrackerControls& tracker, PlayControl& play,
                           CameraMenu& cameras, HeadPlotWindow& plot)
    : m_frame(frame), m_state(state), m_tracker(tracker), m_play(play), m_cameras(cameras), m_plot(plot)
{
    Connect(CommandStart, &MenuCommands::OnStart);
    Connect(CommandOpen, &MenuCommands::OnOpen);
    Connect(CommandWebcam, &MenuCommands::OnWebcam);
    Connect(CommandKeysOnly, &MenuCommands::OnKeysOnly);
    Connect(CommandExit, &MenuCommands::OnExit);
    Connect(CommandFrameA, &MenuCommands::ToggleFrameA);
    Connect(CommandFrameB, &MenuCommands::ToggleFrameB);
    Connect(CommandValues, &MenuCommands::ToggleValues);
    Connect(CommandStats, &MenuCommands::ToggleStats);
    Connect(CommandCamera, &MenuCommands::OnCamera);
    Connect(CommandGraphs, &MenuCommands::ToggleGraphs);
    Connect(CommandParameters, &MenuCommands::OnParameters);
    Connect(CommandPreciseDetection, &MenuCommands::OnPreciseDetection);
    Connect(CommandMovementOptions, &MenuCommands::OnMovementOptions);
    Connect(CommandCapturesPerSecond, &MenuCommands::OnCapturesPerSecond);
    Connect(CommandHelpTopics, &MenuCommands::OnHelp);
    Connect(CommandHelp, &MenuCommands::OnHelp);
    Connect(CommandContextHelp, &MenuCommands::OnHelp);
    Connect(CommandAbout, &MenuCommands::OnAbout);

    for (QWidget* widget : m_frame.Action(CommandWebcam)->associatedWidgets()) {
        if (auto* popup = qobject_cast<QMenu*>(widget))
            QObject::connect(popup, &QMenu::aboutToShow, &m_frame, [this] { OnFileMenuShown(); });
    }
    // Dialogs, message boxes and open menus take Esc for themselves.
    new QShortcut(QKeySequence(Qt::Key_Escape), &m_frame, [this] { OnExit(); });
    m_cameras.SetChosenHandler([this] { OnCameraChosen(); });
    QObject::connect(&m_plot, &HeadPlotWindow::Closed, &m_frame, [this] { m_frame.SetChecked(CommandGraphs, false); });
}

void MenuCommands::Connect(int command, void (MenuCommands::*handler)())
{
    m_frame.SetCommandHandler(command, [this, handler] { (this->*handler)(); });
}

void MenuCommands::Toggle(int command, const std::function<void(bool)>& switchTo)
{
    const bool on = !m_frame.IsChecked(command);
    switchTo(on);
    m_frame.SetChecked(command, on);
}

void MenuCommands::OnStart()
{
    m_play.StartOrRequestReset();
}

void MenuCommands::OnOpen()
{
    // The mark goes even if the player then cancels.
    m_frame.SetChecked(CommandWebcam, false);
    QFileDialog dialog(&m_frame, QStringLiteral("Abrir"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    // A desktop's own file dialog is no Qt window, and the game would go on playing behind it.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilters({QStringLiteral("Archivos avi (*.avi)"), QStringLiteral("Todos los archivos (*)")});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    OpenVideo(QFile::encodeName(dialog.selectedFiles().constFirst()).toStdString());
}

void MenuCommands::OpenVideo(const std::string& path)
{
    m_frame.SetChecked(CommandWebcam, false);
    m_state.m_pszVideoFile = path;
    m_state.m_dVideoFrameRate = m_tracker.OpenVideoFile(path);
    // The file stays the chosen source (no frames come from it); the player is told why.
    if (!m_tracker.HasCapture())
        ShowMessageBox(kApplicationTitle, "No se puede abrir el vídeo " + path);
}

void MenuCommands::OnWebcam()
{
    m_state.m_pszVideoFile.reset();
    m_frame.SetChecked(CommandWebcam, true);
    // The steering mode stays as it is; without a camera head steering just finds no frames. A
    // camera named by the choice or BRUMARIA_CAMERA has been reported as it failed.
    if (!m_tracker.StartWebcam() && !CaptureSource::NamesACamera(m_cameras.Choice()))
        ShowMessageBox(kApplicationTitle, CaptureSource::NoCameraMessage(m_cameras.Choice()));
}

void MenuCommands::OnCameraChosen()
{
    // The webcam in use changes at once. Before play the choice waits for the start; with a
    // video file as the source, for "WebCam"; after a start without any camera, for the next run.
    if (m_state.m_bStarted && !m_state.m_pszVideoFile && g_steeringMode != NoCamera)
        m_tracker.StartWebcam();
}

void MenuCommands::OnFileMenuShown()
{
    // Once play has started without a camera, "WebCam" stays off; nothing turns it on again.
    if (g_steeringMode == NoCamera)
        m_frame.SetEnabled(CommandWebcam, false);
}

void MenuCommands::OnKeysOnly()
{
    switch (ToggleKeysOnly(m_frame.IsChecked(CommandKeysOnly))) {
    case KeysOnlyOutcome::Checked: m_frame.SetChecked(CommandKeysOnly, true); break;
    case KeysOnlyOutcome::Unchecked: m_frame.SetChecked(CommandKeysOnly, false); break;
    case KeysOnlyOutcome::Refused:
        ShowMessageBox(kApplicationTitle, "Funcion desabilitada por no encontrarse Webcam");
        break;
    }
}

void MenuCommands::ToggleFrameA()
{
    Toggle(CommandFrameA, [this](bool on) { m_tracker.SetFrameAView(on); });
}

void MenuCommands::ToggleFrameB()
{
    Toggle(CommandFrameB, [this](bool on) { m_tracker.SetFrameBView(on); });
}

void MenuCommands::ToggleValues()
{
    m_frame.repaint();
    Toggle(CommandValues, [this](bool on) { m_tracker.SetValuesView(on); });
    // For good, in both directions.
    m_frame.SetEnabled(CommandWebcam, false);
}

void MenuCommands::ToggleStats()
{
    Toggle(CommandStats, [this](bool on) { m_state.m_bShowStats = on; });
}

void MenuCommands::ToggleGraphs()
{
    Toggle(CommandGraphs, [this](bool on) { m_plot.setVisible(on); });
}

void MenuCommands::OnCamera()
{
    Toggle(CommandCamera, [this](bool on) { m_tracker.SetImageView(on); });
}

void MenuCommands::OnPreciseDetection()
{
    Toggle(CommandPreciseDetection, [this](bool on) { m_tracker.SetPreciseDetection(on); });
}

void MenuCommands::OnParameters()
{
    CParametros dialog(m_tracker.Settings(), &m_frame);
    // The dead zones in pixels follow the new distances.
    if (dialog.exec() == QDialog::Accepted)
        m_tracker.UpdatePixelThresholds();
    m_plot.SetDeadZones(m_tracker.DeadZones());
}

void MenuCommands::OnMovementOptions()
{
    CParamDeteccion dialog(m_tracker.Settings(), &m_frame);
    dialog.exec();
}

void MenuCommands::OnCapturesPerSecond()
{
    CFrameCaptura dialog(&m_frame);
    dialog.exec();
}

void MenuCommands::OnHelp()
{
    if (!m_help)
        m_help = new HelpWindow(&m_frame);
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

void MenuCommands::OnAbout()
{
    CAboutDialog about(&m_frame);
    about.exec();
}

void MenuCommands::OnExit()
{
    // Closing the main window ends the program; the tracker then completes the sample files.
    m_frame.close();
}
