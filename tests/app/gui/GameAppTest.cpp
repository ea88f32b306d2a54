#include "app/CGameApp.h"
#include "app/CInputView.h"
#include "app/CMainFrame.h"
#include "app/CameraSettings.h"
#include "app/DialogMessagePresenter.h"
#include "app/HeadPlotWindow.h"
#include "app/MenuCommand.h"
#include "app/core/ProcessSettings.h"
#include "platform/MessageBox.h"
#include "tests/support/TemporaryFolder.h"
#include "tests/support/tracking/HeadScenes.h"
#include "tracking/CHeadTracker.h"
#include "world/CCamera.h"
#include "world/CLevelMap.h"
#include "world/opengl/OpenGLDevice.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QSlider>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>
#include <QtCharts/QAreaSeries>
#include <QtCharts/QChart>
#include <QtCharts/QLineSeries>
#include <QtCharts/QXYSeries>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include <stdlib.h>

namespace {

using Texts = std::vector<std::string>;

// The working folder, made before the application (its tracker writes there): the two sound clips
// and nothing else, so every model is reported missing and the program starts all the same. The
// user settings are kept there too, with "Ninguna (solo teclas)" chosen, so no camera is opened
// whatever the machine has; sound goes to OpenAL's null device.
struct GameFolder : TemporaryFolder {
    GameFolder() : TemporaryFolder{"snd"}
    {
        ::unsetenv("BRUMARIA_CAMERA");
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(FilePath("config")));
        CameraChoice none;
        none.kind = CameraChoice::Kind::NoCamera;
        CameraSettings::Save(none);
        ::setenv("ALSOFT_DRIVERS", "null", 0);
        for (const char* clip : {"snd/andar.snd", "snd/golpe.snd"})
            std::ofstream(clip) << std::string(4 * 2205, '\0');
    }
    std::string FilePath(const char* name) const { return (Path() / name).string(); }
};

// While alive, hands each modal window that opens to `act`, which is to close it (checked every
// 20 ms; `act` may wait inside). A window `act` leaves open is closed after it.
class ModalCloser {
public:
    explicit ModalCloser(std::function<void(QWidget*)> act)
    {
        QObject::connect(&m_poll, &QTimer::timeout, [this, act = std::move(act)] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || m_busy)
                return;
            m_busy = true;
            act(modal);
            if (QApplication::activeModalWidget() == modal)
                modal->close();
            m_busy = false;
        });
        m_poll.start(20);
    }

private:
    QTimer m_poll;
    bool m_busy = false;
};

bool WindowShown(const char* title)
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(), [title](const QWidget* window) {
        return window->isVisible() && window->windowTitle() == QString::fromUtf8(title);
    });
}

TEST(MainFrameTest, TheMenuHasItsPopupsItemsIdentifiersAndCheckMarks)
{
    CMainFrame frame;
    // A caption and a sizing border; no system menu, close, minimise or maximise box.
    EXPECT_EQ(frame.windowTitle(), "Brumaria");
    EXPECT_EQ(frame.windowFlags() &
                  (Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint |
                   Qt::FramelessWindowHint | Qt::MSWindowsFixedSizeDialogHint),
              0);
    // Without the customise hint the window manager would add its own boxes.
    EXPECT_EQ(frame.windowFlags() & (Qt::CustomizeWindowHint | Qt::WindowTitleHint),
              Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    // Per popup its title, then "text command checkable checked" per item, "-" per separator.
    Texts menu;
    for (const QAction* popup : frame.menuBar()->actions()) {
        QString line = popup->text() + ":";
        for (const QAction* item : popup->menu()->actions())
            line += item->isSeparator()
                ? QString(" | -")
                : QString(" | %1 %2 %3%4")
                      .arg(item->text(), item->data().toString(), QString::number(item->isCheckable()),
                           QString::number(item->isChecked()));
        menu.push_back(line.toStdString());
    }
    EXPECT_EQ(menu,
              (Texts{"&Archivo: | Empezar 32788 00 | Abrir 32783 00 | WebCam 32786 10 | Solo teclas 32785 10 | - | "
                     "&Salir 57665 00",
                     "&Vistas: | FrameA 32772 10 | FrameB 32773 10 | Valores 32774 10 | Rendimiento 32775 10 | "
                     "Cámara 32778 11 | Gráficas 32800 10",
                     "&Opciones: | Parámetros 32771 00 | Detecta Preciso 32780 10 | Detección movimientos 32781 00 | "
                     "Número capturas seg 32782 00 | Elegir webcam 32801 00",
                     "Ay&uda: | &Temas de Ayuda 57667 00 | - | &Acerca de Brumaria... 57664 00"}));
}

// Counts the timeouts of the program's QTimers while alive (Qt's own timers aside).
struct TimerTimeouts : QObject {
    TimerTimeouts() { QCoreApplication::instance()->installEventFilter(this); }
    bool eventFilter(QObject* receiver, QEvent* event) override
    {
        count += event->type() == QEvent::Timer && qobject_cast<QTimer*>(receiver);
        return false;
    }
    int count = 0;
};

// The program without a camera, started in a folder of its own.
class GameAppTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(app.InitInstance());
        for (const OpenGLDevice::StatusText& status : frame().findChild<OpenGLDevice*>()->StatusTexts())
            statusTexts.push_back(std::to_string(status.x) + " " + std::to_string(status.y) + " " +
                                  status.text.toStdString());
        // Before any event, so before any pass of the main loop.
        firstFrame = frame().findChild<OpenGLDevice*>()->ReadBackBuffer();
        // Start-up reported every model missing.
        messages.Clear();
        camera = CCamera::Instance();
        startPose = Pose();
        frame().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frame()));
    }

    void TearDown() override
    {
        // The tracker's windows would outlive the application.
        for (const auto view : {&CHeadTracker::SetImageView, &CHeadTracker::SetFrameAView, &CHeadTracker::SetFrameBView,
                                &CHeadTracker::SetValuesView})
            (tracker().*view)(false);
        g_steeringMode = KeysOnly;
        g_nCapturesPerSecond = 5;
    }

    CMainFrame& frame() { return app.MainFrame(); }
    CInputView* view() { return &app.MainFrame().View(); }
    CHeadTracker& tracker() { return app.HeadTracker(); }
    const GameState& state() { return app.State(); }
    void Choose(int command) { frame().Action(command)->trigger(); }
    std::pair<glm::vec3, glm::vec3> Pose() const { return {camera->Eye(), camera->LookAt()}; }

    void WaitForPasses(int passes)
    {
        // Every pass changes the frame count (a count reset follows an increment).
        for (int pass = 0; pass < passes; ++pass) {
            const std::int32_t count = state().m_nFrameCount;
            ASSERT_TRUE(QTest::qWaitFor([&] { return state().m_nFrameCount != count; }, 5000));
        }
    }

    // Runs the event loop until the program ends (20 s at most).
    void ExpectTheProgramToEnd(const std::function<void()>& meanwhile)
    {
        QTimer::singleShot(0, &frame(), meanwhile);
        QTimer::singleShot(20000, &frame(), [] { QApplication::exit(1); });
        EXPECT_EQ(QApplication::exec(), 0);
        EXPECT_FALSE(frame().isVisible());
    }

    GameFolder folder;
    MessageCapture messages;
    CGameApp app;
    QImage firstFrame;
    Texts statusTexts;
    CCamera* camera = nullptr;
    std::pair<glm::vec3, glm::vec3> startPose;
};

TEST_F(GameAppTest, BeforeEnterOnlyTheIntroShowsThenEveryKeyIsOneStepOfTheKeyTableAndEscEndsTheProgram)
{
    // Start-up wrote its progress around the renderer's and the sound's.
    ASSERT_GE(statusTexts.size(), 3u);
    EXPECT_EQ(statusTexts.front(), "10 10 Cargando ...");
    EXPECT_EQ(Texts(statusTexts.end() - 2, statusTexts.end()),
              (Texts{"10 160 Inicializando sonidos ...", "200 160 OK"}));
    // Without an "intro" picture the intro is white on white, where a scene is grey.
    QImage white(640, 480, QImage::Format_RGB32);
    white.fill(Qt::white);
    EXPECT_EQ(firstFrame.convertToFormat(QImage::Format_RGB32), white);
    // A wider window gets the intro drawn anew at its size, the 4:3 view between black bars; F11
    // gives it the whole screen and takes it back.
    OpenGLDevice* device = frame().findChild<OpenGLDevice*>();
    frame().resize(frame().width() + 360, frame().height());
    const QImage wider = device->ReadBackBuffer();
    ASSERT_EQ(wider.size(), QSize(1000, 480));
    EXPECT_EQ(
        (std::vector<QRgb>{wider.pixel(170, 240), wider.pixel(181, 240), wider.pixel(818, 240), wider.pixel(830, 240)}),
        (std::vector<QRgb>{qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(255, 255, 255), qRgb(0, 0, 0)}));
    QTest::keyClick(view(), Qt::Key_F11);
    EXPECT_TRUE(frame().isFullScreen());
    QTest::keyClick(view(), Qt::Key_F11);
    EXPECT_FALSE(frame().isFullScreen());
    // The view keeps the keys, a click on the 3D picture notwithstanding.
    QTest::mouseClick(frame().findChild<OpenGLDevice*>(), Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), view());
    // Qt's keys, the keypad's with Num Lock on and off, and the camera step each is.
    using Step = void (*)(CCamera&, CLevelMap&);
    const std::tuple<Qt::Key, Qt::KeyboardModifiers, Step> table[] = {
        {Qt::Key_PageUp, Qt::NoModifier, [](CCamera& c, CLevelMap&) { c.LookUp(0.05f); }},
        {Qt::Key_PageDown, Qt::NoModifier, [](CCamera& c, CLevelMap&) { c.LookDown(0.05f); }},
        {Qt::Key_End, Qt::NoModifier, [](CCamera& c, CLevelMap&) { c.Descend(0.1f); }},
        {Qt::Key_Home, Qt::NoModifier, [](CCamera& c, CLevelMap&) { c.Rise(0.1f); }},
        {Qt::Key_Left, Qt::NoModifier, [](CCamera& c, CLevelMap&) { c.TurnLeft(0.05f); }},
        {Qt::Key_Up, Qt::NoModifier, [](CCamera& c, CLevelMap& m) { c.WalkForward(m, 1.0f); }},
        {Qt::Key_Right, Qt::NoModifier, [](CCamera& c, CLevelMap&) { c.TurnRight(0.05f); }},
        {Qt::Key_Down, Qt::NoModifier, [](CCamera& c, CLevelMap& m) { c.WalkBackward(m, 1.0f); }},
        {Qt::Key_1, Qt::KeypadModifier, [](CCamera& c, CLevelMap& m) { c.StrafeLeft(m, 0.1f); }},
        {Qt::Key_3, Qt::KeypadModifier, [](CCamera& c, CLevelMap& m) { c.StrafeRight(m, 0.1f); }},
        {Qt::Key_7, Qt::KeypadModifier, [](CCamera& c, CLevelMap&) { c.RotateZNegative(0.1f); }},
        {Qt::Key_9, Qt::KeypadModifier, [](CCamera& c, CLevelMap&) { c.RotateZPositive(0.1f); }},
        {Qt::Key_End, Qt::KeypadModifier, [](CCamera& c, CLevelMap&) { c.Descend(0.1f); }},
        {Qt::Key_PageDown, Qt::KeypadModifier, [](CCamera& c, CLevelMap&) { c.LookDown(0.05f); }},
        {Qt::Key_Home, Qt::KeypadModifier, [](CCamera& c, CLevelMap&) { c.Rise(0.1f); }},
        {Qt::Key_PageUp, Qt::KeypadModifier, [](CCamera& c, CLevelMap&) { c.LookUp(0.05f); }},
        // The keypad's side-steps and rolls on keys every keyboard has.
        {Qt::Key_Comma, Qt::NoModifier, [](CCamera& c, CLevelMap& m) { c.StrafeLeft(m, 0.1f); }},
        {Qt::Key_Period, Qt::NoModifier, [](CCamera& c, CLevelMap& m) { c.StrafeRight(m, 0.1f); }},
        {Qt::Key_K, Qt::NoModifier, [](CCamera& c, CLevelMap&) { c.RotateZNegative(0.1f); }},
        {Qt::Key_L, Qt::ShiftModifier, [](CCamera& c, CLevelMap&) { c.RotateZPositive(0.1f); }},
        // Keys that steer nothing, Enter during play among them.
        {Qt::Key_Return, Qt::NoModifier, nullptr},
        {Qt::Key_1, Qt::NoModifier, nullptr},
        {Qt::Key_2, Qt::KeypadModifier, nullptr},
        {Qt::Key_Space, Qt::NoModifier, nullptr},
        {Qt::Key_Period, Qt::KeypadModifier, nullptr},
    };
    // Pose and cell after `act` twice from a start off the z axis (so that rolls move the view).
    CLevelMap& map = app.LevelMap();
    const auto twice = [&](const std::function<void()>& act) {
        camera->Reset();
        map.ResetCell();
        camera->TurnLeft(0.3f);
        act();
        act();
        return std::tuple(camera->Eye(), camera->LookAt(), camera->Up(), map.GetCurrentCell());
    };
    const auto unmoved = twice([] {});
    // A press, then a held key's repeat.
    bool repeat = true;
    const auto press = [&](Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers, QString(), repeat = !repeat);
        QApplication::sendEvent(view(), &event);
    };
    for (const auto& [key, modifiers, step] : table)
        if (step) {
            EXPECT_TRUE(twice([&, key = key, modifiers = modifiers] { press(key, modifiers); }) == unmoved) << key;
        }
    EXPECT_FALSE(state().m_bStarted);
    // Nor does any timer wake the title screen.
    TimerTimeouts timers;
    QTest::qWait(600);
    EXPECT_EQ(timers.count, 0);

    // No camera and no video: Enter starts play with the keys alone.
    Choose(CommandKeysOnly);
    QTest::keyClick(view(), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_TRUE(state().m_bStarted);
    EXPECT_EQ(g_steeringMode, NoCamera);
    for (const auto& [key, modifiers, step] : table) {
        const auto expected = twice([&, step = step] {
            if (step)
                step(*camera, map);
        });
        EXPECT_EQ(twice([&, key = key, modifiers = modifiers] { press(key, modifiers); }), expected) << key;
        EXPECT_EQ(!step, expected == unmoved) << key;
    }

    // The menu with the mouse, as the player uses it: "WebCam" goes grey as "Archivo" opens, and
    // "Solo teclas" cannot give head steering without a camera.
    EXPECT_TRUE(frame().Action(CommandWebcam)->isEnabled());
    QMenuBar* bar = frame().menuBar();
    QMenu* archivo = bar->actions()[0]->menu();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(archivo->menuAction()).center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return archivo->isVisible(); }, 3000));
    EXPECT_FALSE(frame().Action(CommandWebcam)->isEnabled());
    QTest::mouseClick(archivo, Qt::LeftButton, {}, archivo->actionGeometry(frame().Action(CommandKeysOnly)).center());
    EXPECT_EQ(g_steeringMode, NoCamera);
    EXPECT_TRUE(frame().IsChecked(CommandKeysOnly));
    EXPECT_EQ(messages.Texts(), Texts{"Funcion desabilitada por no encontrarse Webcam"});

    // F1 and "Temas de Ayuda" show the one help window, beside the game, which goes on.
    QTest::keyClick(view(), Qt::Key_F1);
    QWidget* help = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (help = QApplication::activeWindow()) && help != &frame(); }, 3000))
        << "no window other than the game's became active";
    EXPECT_EQ(help->windowTitle(), "Ayuda de Brumaria");
    Texts sections;
    for (QTextBlock block = help->findChild<QTextBrowser*>()->document()->begin(); block.isValid();
         block = block.next())
        if (block.blockFormat().headingLevel() == 2)
            sections.push_back(block.text().toStdString());
    EXPECT_EQ(sections,
              (Texts{"Cómo sentarse y empezar", "Los movimientos de la cabeza", "Las teclas", "Elegir la webcam",
                     "Leer las Gráficas", "Ajustar las zonas muertas: Opciones > Parámetros",
                     "Las ventanas de depuración", "Los demás menús"}));
    WaitForPasses(2);
    if (const char* screenshots = std::getenv("BRUMARIA_SCREENSHOT_FOLDER"))
        help->grab().save(QDir(screenshots).filePath("window-ayuda.png"));
    help->close();
    Choose(CommandHelpTopics);
    ASSERT_TRUE(QTest::qWaitForWindowActive(help));
    const QWidgetList helpWindows = QApplication::topLevelWidgets();
    EXPECT_EQ(std::count_if(helpWindows.begin(), helpWindows.end(),
                            [](const QWidget* w) { return w->windowTitle() == "Ayuda de Brumaria"; }),
              1);
    EXPECT_EQ(messages.Texts().size(), 1u);
    // Closed, it gives the keys back to the game.
    help->close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &frame(); }, 3000));
    ExpectTheProgramToEnd([this] { QTest::keyClick(view(), Qt::Key_Escape); });
}

// With "Gráficas" on, the play follows a video; "Parámetros" moves the plot's dead zones as it is
// confirmed. (--views and the saved view pictures: the checkout's demo run.)
TEST_F(GameAppTest, AbrirChoosesTheSourceEmpezarStartsPlayGraficasFollowsItThenRestartsTheWalkWebcamTakesItBack)
{
    Choose(CommandWebcam);
    EXPECT_TRUE(frame().IsChecked(CommandWebcam));
    const std::string note = folder.FilePath("nota.txt");
    std::ofstream(note) << "no es un vídeo\n";
    const std::string video = folder.FilePath("quieto.avi");
    headscenes::WriteVideo(video, std::vector<cv::Mat>(16, headscenes::FaceFrame()));
    {
        // Cancelled, then a file that is no video, then the video.
        Texts seen;
        const ModalCloser fileDialog([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            seen.push_back(dialog->windowTitle().toStdString() + ": " + dialog->nameFilters().join(", ").toStdString());
            if (seen.size() == 1)
                return QTest::keyClick(dialog->focusWidget(), Qt::Key_Escape);
            // The name field confirmed with Enter (typing would open the completer, which takes it).
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            name->setText(QString::fromStdString(seen.size() == 2 ? note : video));
            QTest::keyClick(name, Qt::Key_Return);
        });
        Choose(CommandOpen);
        EXPECT_FALSE(frame().IsChecked(CommandWebcam));
        EXPECT_FALSE(state().m_pszVideoFile);
        Choose(CommandOpen);
        EXPECT_EQ(std::pair(*state().m_pszVideoFile, state().m_dVideoFrameRate), std::pair(note, 0.0));
        EXPECT_EQ(
            messages.Texts(),
            (Texts{"No hay ninguna webcam elegida (Opciones > Elegir webcam).", "No se puede abrir el vídeo " + note}));
        Choose(CommandOpen);
        EXPECT_EQ(seen, Texts(3, "Abrir: Archivos avi (*.avi), Todos los archivos (*)"));
        EXPECT_EQ(std::pair(*state().m_pszVideoFile, state().m_dVideoFrameRate), std::pair(video, 25.0));
    }

    Choose(CommandGraphs);
    Choose(CommandStart);
    EXPECT_EQ(g_steeringMode, HeadSteering);
    // The face is followed until the video runs out; "Imagen" shows it, "Gráficas" takes every
    // capture, the keys stay with the view.
    ASSERT_TRUE(QTest::qWaitFor([&] { return tracker().FrameCounter() >= 15; }, 5000));
    ASSERT_EQ(tracker().State(), Tracking);
    EXPECT_TRUE(WindowShown("Imagen"));
    EXPECT_EQ(QApplication::focusWidget(), view());
    const QtCharts::QChart& strip = app.Plot().Strip(MeasureEyeCentreX);
    const auto series = [&strip](const char* name) {
        const QList<QtCharts::QAbstractSeries*> all = strip.series();
        return *std::find_if(all.begin(), all.end(), [name](auto* s) { return s->name() == QString::fromUtf8(name); });
    };
    EXPECT_GE(static_cast<QtCharts::QXYSeries*>(series(HeadPlotWindow::kMeasureSeries))->count(), 10);
    const auto* zone = static_cast<QtCharts::QAreaSeries*>(series(HeadPlotWindow::kZoneSeries));
    const double high = zone->upperSeries()->at(0).y();
    EXPECT_GT(high, 50.0) << "20 % of the rest eye-centre x, about 320";
    const ModalCloser parameters([](QWidget* dialog) {
        auto* distanceX = dialog->findChild<QLineEdit*>(QStringLiteral("distanceX"));
        distanceX->setText(QStringLiteral("40"));
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("ok")), Qt::LeftButton);
    });
    Choose(CommandParameters);
    EXPECT_NEAR(zone->upperSeries()->at(0).y(), 2 * high, 1e-3);
    EXPECT_NEAR(zone->lowerSeries()->at(0).y(), -2 * high, 1e-3);

    for (const Qt::Key key : {Qt::Key_Up, Qt::Key_Up, Qt::Key_Up, Qt::Key_Up, Qt::Key_Left})
        QTest::keyClick(view(), key);
    ASSERT_NE(Pose(), startPose);
    Choose(CommandStart);
    WaitForPasses(2);
    EXPECT_FALSE(state().m_bResetRequested);
    EXPECT_EQ(app.LevelMap().GetCurrentCell(), CLevelMap::kStartCell);
    EXPECT_EQ(Pose(), startPose);
    // The face was dropped and looked for again; with the video over, tracking does not resume.
    EXPECT_EQ(tracker().State(), Detecting);

    Choose(CommandWebcam);
    EXPECT_TRUE(frame().IsChecked(CommandWebcam));
    EXPECT_FALSE(state().m_pszVideoFile);
    EXPECT_FALSE(tracker().HasCapture());
}

TEST_F(GameAppTest, EveryMenuItemTwiceDoesSomethingItsModalWindowsHoldTheGameAndSalirEndsIt)
{
    // What each check mark stands for.
    const std::map<int, std::function<bool()>> switches = {
        {CommandKeysOnly, [] { return g_steeringMode == KeysOnly; }},
        {CommandFrameA, [] { return WindowShown("Frame"); }},
        {CommandFrameB, [] { return WindowShown("Frame B"); }},
        {CommandValues, [] { return WindowShown("Parámetros"); }},
        {CommandCamera, [&] { return tracker().ShowImage(); }},
        {CommandPreciseDetection, [&] { return tracker().PreciseDetection(); }},
        {CommandStats, [&] { return state().m_bShowStats; }},
        {CommandGraphs, [&] { return app.Plot().isVisible(); }},
    };
    // The items in menu order, twice; "&Salir" at the end. "Elegir webcam" has tests of its own.
    std::vector<int> commands;
    for (int round = 0; round < 2; ++round)
        for (const QAction* popup : frame().menuBar()->actions())
            for (const QAction* item : popup->menu()->actions())
                if (!item->isSeparator() && !item->menu() && item->data() != CommandExit)
                    commands.push_back(item->data().toInt());
    commands.push_back(CommandExit);
    ASSERT_EQ(commands.size(), 33u);

    // Play without a camera, with message boxes.
    QTest::keyClick(view(), Qt::Key_Return);
    WaitForPasses(3);
    const DialogMessagePresenter messageBoxes;
    Texts opened;
    const ModalCloser closer([&](QWidget* modal) {
        opened.push_back(std::string(modal->metaObject()->className()) + " " + modal->windowTitle().toStdString());
        // "Número capturas seg" opens at 5 after start-up.
        if (const auto* slider = modal->findChild<QSlider*>())
            opened.back() += " " + std::to_string(slider->value());
        // The about box's text and button.
        if (modal->inherits("CAboutDialog")) {
            for (const QWidget* part : modal->findChildren<QWidget*>()) {
                if (const auto* label = qobject_cast<const QLabel*>(part); label && !label->text().isEmpty())
                    opened.back() += ": " + label->text().toStdString();
                else if (const auto* button = qobject_cast<const QPushButton*>(part))
                    opened.back() += " [" + button->text().toStdString() + "]";
            }
        }
        const GameState atOpening = state();
        QTest::qWait(250);
        EXPECT_EQ(std::pair(state().m_nFrameCount, state().m_dLastCaptureTime),
                  std::pair(atOpening.m_nFrameCount, atOpening.m_dLastCaptureTime))
            << opened.back();
        QTest::keyClick(modal->focusWidget() ? modal->focusWidget() : modal, Qt::Key_Escape);
    });
    // What a command changed (a switch its mark, checked against what it switches).
    const auto observe = [&] {
        std::ostringstream seen;
        seen << state().m_bResetRequested << opened.size() << frame().isVisible() << WindowShown("Ayuda de Brumaria");
        for (const int command : commands)
            seen << frame().IsChecked(command) << frame().Action(command)->isEnabled();
        return seen.str();
    };
    std::vector<int> idle;
    ExpectTheProgramToEnd([&] {
        for (const int command : commands) {
            // "Valores" greys "WebCam" for good.
            if (!frame().Action(command)->isEnabled()) {
                EXPECT_EQ(command, CommandWebcam);
                continue;
            }
            const std::string before = observe();
            const std::size_t modals = opened.size();
            Choose(command);
            if (observe() == before)
                idle.push_back(command);
            // Shown again the next time.
            for (QWidget* window : QApplication::topLevelWidgets())
                if (command == CommandHelpTopics && window->windowTitle() == "Ayuda de Brumaria")
                    window->close();
            const auto marked = switches.find(command);
            if (marked != switches.end()) {
                EXPECT_TRUE(QTest::qWaitFor([&] { return marked->second() == frame().IsChecked(command); }, 2000))
                    << command;
            }
            // Back in the game the view has the keys.
            if (opened.size() != modals) {
                ASSERT_TRUE(QTest::qWaitForWindowActive(&frame()));
                EXPECT_EQ(QApplication::focusWidget(), view());
            }
        }
    });
    EXPECT_EQ(idle, std::vector<int>{});
    EXPECT_FALSE(frame().Action(CommandWebcam)->isEnabled());
    ASSERT_EQ(opened.size(), 11u);
    EXPECT_EQ(Texts(opened.begin(), opened.begin() + 6),
              (Texts{"QFileDialog Abrir", "QMessageBox Brumaria", "CParametros Parámetros",
                     "CParamDeteccion Opciones Detección", "CFrameCaptura Capturas por segundo 5",
                     "CAboutDialog Acerca de Brumaria: Brumaria Version 1.0 [Aceptar]"}));
}

}  // namespace
