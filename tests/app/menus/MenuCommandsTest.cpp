#include "DialogWidgets.h"
#include "GameFolder.h"
#include "MenuDriver.h"

#include "app/CAboutDialog.h"
#include "app/CFrameCaptura.h"
#include "app/CGameApp.h"
#include "app/CInputView.h"
#include "app/CMainFrame.h"
#include "app/CParamDeteccion.h"
#include "app/CParametros.h"
#include "app/DialogMessagePresenter.h"
#include "app/MenuCommand.h"
#include "app/MenuCommands.h"
#include "app/core/SteeringMode.h"
#include "platform/MessageBox.h"
#include "tests/tracking/HeadScenes.h"
#include "tests/tracking/OctaveSampleFile.h"
#include "tracking/CHeadTracker.h"
#include "world/CCamera.h"
#include "world/CLevelMap.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <set>

void PrintTo(const ShownMessage& message, std::ostream* out)
{
    *out << "[" << message.caption << "] " << message.text;
}

namespace {

const char* const kSampleFiles[][2] = {{"muestrasPosX.m", "movX"},   {"muestrasPosY.m", "movY"},
                                       {"muestrasPosZ.m", "movZ"},   {"muestrasGiroX.m", "giroX"},
                                       {"muestrasGiroY.m", "giroY"}, {"muestrasGiroZ.m", "giroZ"}};

std::string FileText(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool VisibleWindowTitled(const char* title)
{
    for (const QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->windowTitle() == QString::fromUtf8(title))
            return true;
    }
    return false;
}

// Puts the file's path into the file dialog's name field and confirms it with Enter (typing it
// would open the name completer, which takes the Enter).
void ChooseFile(QWidget* modal, const std::string& path)
{
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(name, nullptr);
    name->setFocus();
    name->setText(QString::fromStdString(path));
    QTest::keyClick(name, Qt::Key_Return);
}

// The whole program without a camera: start-up in a folder of its own, the menu driven with
// the mouse.
class MenuCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.IsValid());
        app = std::make_unique<CGameApp>();
        ASSERT_TRUE(app->InitInstance());
        // Start-up reported every model missing.
        messages.Clear();
        frame = &app->MainFrame();
        view = &frame->View();
        tracker = &app->HeadTracker();
        frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
    }

    void TearDown() override
    {
        CloseMenus();
        if (tracker) {
            // The tracker's windows outlive the application: close them for the next test.
            tracker->SetImageView(false);
            tracker->SetFrameAView(false);
            tracker->SetFrameBView(false);
            tracker->SetValuesView(false);
        }
        app.reset();
        g_steeringMode = KeysOnly;
        g_nCapturesPerSecond = 5;
    }

    void Choose(int command) { ASSERT_TRUE(ChooseMenuItem(*frame, command)) << command; }

    // A short video of a still face in the test folder.
    std::string StillFaceVideo()
    {
        const std::string path = folder.FilePath("quieto.avi");
        headscenes::WriteVideo(path, std::vector<cv::Mat>(6, headscenes::FaceFrame()));
        return path;
    }

    void WaitForPasses(int passes)
    {
        const std::int32_t start = app->State().m_nFrameCount;
        ASSERT_TRUE(QTest::qWaitFor([&] { return app->State().m_nFrameCount >= start + passes; }, 5000));
    }

    // Runs the event loop until the program ends (or 20 s have gone by); true if it ended.
    bool RunUntilTheProgramEnds(const std::function<void()>& meanwhile)
    {
        bool timedOut = false;
        QTimer::singleShot(0, frame, meanwhile);
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [&] {
            timedOut = true;
            QApplication::quit();
        });
        guard.start(20000);
        QApplication::exec();
        // The closed main window also posted a request to quit (it was the last one open): it
        // must not end the event loop of a later test.
        QCoreApplication::removePostedEvents(qApp, QEvent::Quit);
        return !timedOut;
    }

    // Destroys the application, as the end of the program does, and checks the sample files.
    void ExpectSampleFilesCompletedAtTheEnd()
    {
        app.reset();
        for (const auto& file : kSampleFiles) {
            const OctaveSampleFile parsed = OctaveSampleFile::Parse(FileText(folder.FilePath(file[0])), file[1]);
            EXPECT_EQ(parsed.error, "") << file[0];
        }
    }

    GameFolder folder;
    MessageCapture messages;
    std::unique_ptr<CGameApp> app;
    CMainFrame* frame = nullptr;
    CInputView* view = nullptr;
    CHeadTracker* tracker = nullptr;
};

TEST_F(MenuCommandsTest, EmpezarStartsPlayThenResetsTheCellTheCameraAndTheTrackerOnTheNextPass)
{
    // The start pose.
    const CCamera& camera = *CCamera::Current();
    const glm::vec3 startEye = camera.Eye();
    const glm::vec3 startLookAt = camera.LookAt();
    const glm::vec3 startUp = camera.Up();
    const std::string video = StillFaceVideo();
    WhenModal([&](QWidget* dialog) { ChooseFile(dialog, video); });
    Choose(CommandOpen);
    EXPECT_EQ(app->State().m_pszVideoFile, video);
    EXPECT_EQ(app->State().m_dVideoFrameRate, 25.0);

    Choose(CommandStart);
    EXPECT_TRUE(app->State().m_bStarted);
    EXPECT_EQ(g_steeringMode, HeadSteering);
    // The video runs out while the face is followed.
    ASSERT_TRUE(QTest::qWaitFor([&] { return tracker->FrameCounter() >= 5; }, 5000));
    ASSERT_EQ(tracker->State(), Tracking);

    for (int step = 0; step < 4; ++step)
        QTest::keyClick(view, Qt::Key_Up);
    QTest::keyClick(view, Qt::Key_Left);
    ASSERT_NE(app->LevelMap().GetCurrentCell(), 19);
    ASSERT_NE(camera.Eye(), startEye);

    Choose(CommandStart);
    WaitForPasses(2);
    EXPECT_TRUE(app->State().m_bStarted);
    EXPECT_FALSE(app->State().m_bResetRequested);
    EXPECT_EQ(app->LevelMap().GetCurrentCell(), 19);
    EXPECT_EQ(camera.Eye(), startEye);
    EXPECT_EQ(camera.LookAt(), startLookAt);
    EXPECT_EQ(camera.Up(), startUp);
    // The faces were dropped and looked for again in the last picture, with a new rest pose;
    // with the video over, tracking does not resume.
    EXPECT_EQ(tracker->State(), Detecting);
    EXPECT_FALSE(CHeadTracker::FreshStart());
}

TEST_F(MenuCommandsTest, AbrirShowsTheFileDialogAndCancelStillDropsTheWebcamMark)
{
    Choose(CommandWebcam);
    EXPECT_TRUE(frame->IsChecked(CommandWebcam));
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"No se encuentra ninguna webcam"});

    bool seen = false;
    WhenModal([&](QWidget* modal) {
        seen = true;
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(Utf8(dialog->windowTitle()), "Abrir");
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptOpen);
        EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
        EXPECT_EQ(dialog->nameFilters(),
                  (QStringList{QStringLiteral("Archivos avi (*.avi)"), QStringLiteral("Todos los archivos (*)")}));
        EXPECT_EQ(Utf8(dialog->selectedNameFilter()), "Archivos avi (*.avi)");
        PressEscIn(dialog);
    });
    Choose(CommandOpen);
    EXPECT_TRUE(seen);
    EXPECT_FALSE(frame->IsChecked(CommandWebcam));
    EXPECT_FALSE(app->State().m_pszVideoFile);
    EXPECT_EQ(app->State().m_dVideoFrameRate, 0.0);
    EXPECT_FALSE(tracker->HasCapture());
    EXPECT_EQ(messages.Messages().size(), 1u);
}

TEST_F(MenuCommandsTest, AbrirMakesTheVideoTheSourceAndWebcamTakesItBack)
{
    const std::string video = StillFaceVideo();
    WhenModal([&](QWidget* dialog) { ChooseFile(dialog, video); });
    Choose(CommandOpen);
    EXPECT_EQ(app->State().m_pszVideoFile, video);
    EXPECT_EQ(app->State().m_dVideoFrameRate, 25.0);
    EXPECT_TRUE(tracker->HasCapture());
    EXPECT_TRUE(messages.Messages().empty());

    Choose(CommandWebcam);
    EXPECT_FALSE(app->State().m_pszVideoFile);
    EXPECT_TRUE(frame->IsChecked(CommandWebcam));
    EXPECT_FALSE(tracker->HasCapture());
    // The frame rate stays; without a video file it is not used.
    EXPECT_EQ(app->State().m_dVideoFrameRate, 25.0);
}

TEST_F(MenuCommandsTest, AFileThatIsNoVideoIsReportedAndPacingFallsBackToTheCaptureRate)
{
    const std::string note = folder.FilePath("nota.txt");
    std::ofstream(note) << "no es un vídeo\n";
    WhenModal([&](QWidget* dialog) { ChooseFile(dialog, note); });
    Choose(CommandOpen);
    EXPECT_EQ(app->State().m_pszVideoFile, note);
    EXPECT_EQ(app->State().m_dVideoFrameRate, 0.0);
    EXPECT_FALSE(tracker->HasCapture());
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0], (ShownMessage{"Brumaria", "No se puede abrir el vídeo " + note}));

    // Play starts with head steering from the (broken) file, as with any chosen file.
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_EQ(g_steeringMode, HeadSteering);
    WaitForPasses(3);
}

TEST_F(MenuCommandsTest, WebcamIsDisabledWhenTheArchivoPopupOpensAfterPlayStartedWithoutACamera)
{
    QMenu* archivo = PopupOf(*frame, CommandWebcam);
    ASSERT_TRUE(OpenPopup(*frame, archivo));
    EXPECT_TRUE(frame->Action(CommandWebcam)->isEnabled());
    CloseMenus();

    QTest::keyClick(view, Qt::Key_Return);
    ASSERT_EQ(g_steeringMode, NoCamera);
    // Only the popup's opening decides it.
    EXPECT_TRUE(frame->Action(CommandWebcam)->isEnabled());
    Choose(CommandWebcam);
    EXPECT_FALSE(frame->Action(CommandWebcam)->isEnabled());
    EXPECT_FALSE(frame->IsChecked(CommandWebcam));
    EXPECT_TRUE(messages.Messages().empty());
    CloseMenus();

    // Head steering chosen without a camera does not bring it back.
    Choose(CommandKeysOnly);
    Choose(CommandKeysOnly);
    ASSERT_EQ(g_steeringMode, HeadSteering);
    ASSERT_TRUE(OpenPopup(*frame, archivo));
    EXPECT_FALSE(frame->Action(CommandWebcam)->isEnabled());
}

TEST_F(MenuCommandsTest, WithoutACameraSoloTeclasTogglesBetweenKeysOnlyAndHeadSteering)
{
    QTest::keyClick(view, Qt::Key_Return);
    ASSERT_EQ(g_steeringMode, NoCamera);

    Choose(CommandKeysOnly);
    EXPECT_EQ(g_steeringMode, KeysOnly);
    EXPECT_TRUE(frame->IsChecked(CommandKeysOnly));
    Choose(CommandKeysOnly);
    EXPECT_EQ(g_steeringMode, HeadSteering);
    EXPECT_FALSE(frame->IsChecked(CommandKeysOnly));
    // The tracker is asked for frames it cannot get; the game goes on.
    WaitForPasses(5);
    EXPECT_FALSE(tracker->HasCapture());
    Choose(CommandKeysOnly);
    EXPECT_EQ(g_steeringMode, KeysOnly);
    EXPECT_TRUE(frame->IsChecked(CommandKeysOnly));
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(MenuCommandsTest, HeadSteeringIsRefusedWithAMessageWhenPlayStartedWithoutACamera)
{
    Choose(CommandKeysOnly);
    EXPECT_EQ(g_steeringMode, KeysOnly);
    QTest::keyClick(view, Qt::Key_Return);
    ASSERT_EQ(g_steeringMode, NoCamera);

    Choose(CommandKeysOnly);
    EXPECT_EQ(g_steeringMode, NoCamera);
    EXPECT_TRUE(frame->IsChecked(CommandKeysOnly));
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0], (ShownMessage{"Brumaria", "Funcion desabilitada por no encontrarse Webcam"}));
}

TEST_F(MenuCommandsTest, TheViewsSwitchTheTrackersWindowsAndTheirCheckMarks)
{
    const struct {
        int command;
        const char* window;
        bool (CHeadTracker::*shown)() const;
    } views[] = {{CommandFrameA, "Frame", &CHeadTracker::ShowFrameA},
                 {CommandFrameB, "Frame B", &CHeadTracker::ShowFrameB},
                 {CommandValues, "Parámetros", &CHeadTracker::ShowValues}};
    for (const auto& item : views) {
        SCOPED_TRACE(item.window);
        Choose(item.command);
        EXPECT_TRUE(frame->IsChecked(item.command));
        EXPECT_TRUE((tracker->*item.shown)());
        EXPECT_TRUE(QTest::qWaitFor([&] { return VisibleWindowTitled(item.window); }, 2000));
        Choose(item.command);
        EXPECT_FALSE(frame->IsChecked(item.command));
        EXPECT_FALSE((tracker->*item.shown)());
        EXPECT_TRUE(QTest::qWaitFor([&] { return !VisibleWindowTitled(item.window); }, 2000));
    }
    EXPECT_FALSE(tracker->Interpreter().ValuesWindowOpen());

    // "Cámara" starts checked, as the tracker's "Imagen" switch starts on.
    ASSERT_TRUE(frame->IsChecked(CommandCamera));
    ASSERT_TRUE(tracker->ShowImage());
    Choose(CommandCamera);
    EXPECT_FALSE(frame->IsChecked(CommandCamera));
    EXPECT_FALSE(tracker->ShowImage());
    Choose(CommandCamera);
    EXPECT_TRUE(frame->IsChecked(CommandCamera));
    EXPECT_TRUE(tracker->ShowImage());
    EXPECT_TRUE(QTest::qWaitFor([] { return VisibleWindowTitled("Imagen"); }, 2000));

    Choose(CommandPreciseDetection);
    EXPECT_TRUE(frame->IsChecked(CommandPreciseDetection));
    EXPECT_TRUE(tracker->PreciseDetection());
    Choose(CommandPreciseDetection);
    EXPECT_FALSE(tracker->PreciseDetection());

    Choose(CommandStats);
    EXPECT_TRUE(app->State().m_bShowStats);
    Choose(CommandStats);
    EXPECT_FALSE(app->State().m_bShowStats);
}

TEST_F(MenuCommandsTest, ValoresGreysWebcamForTheRestOfTheRun)
{
    ASSERT_TRUE(frame->Action(CommandWebcam)->isEnabled());
    Choose(CommandValues);
    EXPECT_FALSE(frame->Action(CommandWebcam)->isEnabled());
    Choose(CommandValues);
    EXPECT_FALSE(frame->Action(CommandWebcam)->isEnabled());

    // Not even the webcam check mark or the steering mode bring it back.
    Choose(CommandKeysOnly);
    QMenu* archivo = PopupOf(*frame, CommandWebcam);
    ASSERT_TRUE(OpenPopup(*frame, archivo));
    EXPECT_FALSE(frame->Action(CommandWebcam)->isEnabled());
    QTest::mouseClick(archivo, Qt::LeftButton, {}, archivo->actionGeometry(frame->Action(CommandWebcam)).center());
    EXPECT_FALSE(frame->IsChecked(CommandWebcam));
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(MenuCommandsTest, NumeroCapturasSegOpensAtFiveAfterStartUp)
{
    int shown = 0;
    std::string text;
    WhenModal([&](QWidget* modal) {
        ASSERT_NE(qobject_cast<CFrameCaptura*>(modal), nullptr);
        shown = ChildNamed<QSlider>(*modal, "slider")->value();
        text = Utf8(ChildNamed<QLabel>(*modal, "value")->text());
        QTest::keyClick(ChildNamed<QSlider>(*modal, "slider"), Qt::Key_Right);
        QTest::mouseClick(ChildNamed<QPushButton>(*modal, "ok"), Qt::LeftButton);
    });
    Choose(CommandCapturesPerSecond);
    EXPECT_EQ(shown, 5);
    EXPECT_EQ(text, "5");
    EXPECT_EQ(g_nCapturesPerSecond, 6);
}

TEST_F(MenuCommandsTest, NoPassRunsWhileADialogOrAMessageBoxOfTheMenuIsOpen)
{
    QTest::keyClick(view, Qt::Key_Return);
    WaitForPasses(3);
    const auto expectGameHeld = [&](int command, const char* className) {
        SCOPED_TRACE(className);
        std::string opened;
        std::int32_t framesAtOpening = -1;
        std::int32_t framesBeforeClosing = -2;
        WhenModal([&](QWidget* modal) {
            opened = modal->metaObject()->className();
            framesAtOpening = app->State().m_nFrameCount;
            QTest::qWait(300);
            framesBeforeClosing = app->State().m_nFrameCount;
            PressEscIn(modal);
        });
        Choose(command);
        EXPECT_EQ(opened, className);
        EXPECT_EQ(framesBeforeClosing, framesAtOpening);
        EXPECT_TRUE(frame->isVisible());
        WaitForPasses(2);
    };
    expectGameHeld(CommandParameters, "CParametros");
    expectGameHeld(CommandMovementOptions, "CParamDeteccion");
    expectGameHeld(CommandCapturesPerSecond, "CFrameCaptura");
    expectGameHeld(CommandAbout, "CAboutDialog");
    expectGameHeld(CommandOpen, "QFileDialog");
    // The program's message boxes.
    const DialogMessagePresenter messageBoxes;
    expectGameHeld(CommandHelpTopics, "QMessageBox");
}

TEST_F(MenuCommandsTest, TheHelpCommandsShowTheKeys)
{
    Choose(CommandHelpTopics);
    QTest::keyClick(view, Qt::Key_F1);
    QTest::keyClick(view, Qt::Key_F1, Qt::ShiftModifier);
    const ShownMessage help{"Brumaria", MenuCommands::HelpText()};
    EXPECT_EQ(messages.Messages(), std::vector<ShownMessage>(3, help));
}

TEST_F(MenuCommandsTest, EscEndsTheProgramAndTheSampleFilesAreCompleted)
{
    QTest::keyClick(view, Qt::Key_Return);
    ASSERT_TRUE(RunUntilTheProgramEnds([this] { QTest::keyClick(view, Qt::Key_Escape); }));
    EXPECT_FALSE(frame->isVisible());
    ExpectSampleFilesCompletedAtTheEnd();
}

TEST_F(MenuCommandsTest, SalirEndsTheProgramAndTheSampleFilesAreCompleted)
{
    ASSERT_TRUE(RunUntilTheProgramEnds([this] { Choose(CommandExit); }));
    EXPECT_FALSE(frame->isVisible());
    ExpectSampleFilesCompletedAtTheEnd();
}

TEST_F(MenuCommandsTest, ClosingTheWindowEndsTheProgram)
{
    // What the window system's close request does: a close event to the frame's window.
    ASSERT_TRUE(RunUntilTheProgramEnds([this] {
        QCloseEvent close;
        QCoreApplication::sendEvent(frame->windowHandle(), &close);
    }));
    EXPECT_FALSE(frame->isVisible());
    ExpectSampleFilesCompletedAtTheEnd();
}

TEST_F(MenuCommandsTest, EscInADialogClosesOnlyTheDialog)
{
    bool seen = false;
    WhenModal([&](QWidget* modal) {
        seen = true;
        PressEscIn(modal);
    });
    Choose(CommandParameters);
    EXPECT_TRUE(seen);
    EXPECT_TRUE(frame->isVisible());
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_TRUE(app->State().m_bStarted);
}

// What a command may change: a menu item "does something" when one of these differs after it.
struct Observed {
    bool started;
    bool resetRequested;
    bool videoFile;
    SteeringMode mode;
    bool stats;
    bool frameA, frameB, values, image, precise;
    std::map<int, bool> checked;
    std::size_t messages;
    std::string lastModal;
    bool frameVisible;

    bool operator==(const Observed& other) const
    {
        return std::tie(started, resetRequested, videoFile, mode, stats, frameA, frameB, values, image, precise, checked,
                        messages, lastModal, frameVisible) ==
               std::tie(other.started, other.resetRequested, other.videoFile, other.mode, other.stats, other.frameA,
                        other.frameB, other.values, other.image, other.precise, other.checked, other.messages,
                        other.lastModal, other.frameVisible);
    }
};

TEST_F(MenuCommandsTest, EveryMenuItemCanBeChosenAndDoesSomething)
{
    // The menu's own items, in menu order; "Empezar" (which takes the webcam away) and "&Salir"
    // come last.
    std::vector<int> commands;
    for (QAction* popup : frame->menuBar()->actions()) {
        for (QAction* item : popup->menu()->actions()) {
            if (!item->isSeparator())
                commands.push_back(item->data().toInt());
        }
    }
    ASSERT_EQ(commands.size(), 16u);
    for (const int last : {CommandStart, CommandExit}) {
        commands.erase(std::find(commands.begin(), commands.end(), last));
        commands.push_back(last);
    }

    std::string lastModal;
    const auto observe = [&] {
        Observed now{app->State().m_bStarted, app->State().m_bResetRequested, bool(app->State().m_pszVideoFile),
                     g_steeringMode, app->State().m_bShowStats, tracker->ShowFrameA(), tracker->ShowFrameB(),
                     tracker->ShowValues(), tracker->ShowImage(), tracker->PreciseDetection(), {},
                     messages.Messages().size(), lastModal, frame->isVisible()};
        for (const int command : commands)
            now.checked[command] = frame->IsChecked(command);
        return now;
    };

    std::set<int> idle;
    const bool ended = RunUntilTheProgramEnds([&] {
        for (const int command : commands) {
            const Observed before = observe();
            const QPointer<QTimer> closer = WhenModal([&](QWidget* modal) {
                lastModal = std::to_string(command) + modal->metaObject()->className();
                PressEscIn(modal);
            });
            if (!ChooseMenuItem(*frame, command))
                ADD_FAILURE() << "no popup for " << command;
            StopWaiting(closer);
            if (command != CommandExit)
                QTest::qWait(50);
            if (observe() == before)
                idle.insert(command);
            CloseMenus();
        }
    });
    EXPECT_TRUE(ended);
    EXPECT_TRUE(idle.empty()) << "first command that changed nothing: " << *idle.begin();
    ExpectSampleFilesCompletedAtTheEnd();
}

}  // namespace
