#include "app/CGameApp.h"
#include "app/CInputView.h"
#include "app/CMainFrame.h"
#include "app/MenuCommand.h"
#include "app/core/CommandLineOptions.h"
#include "app/core/SteeringMode.h"
#include "platform/MessageBox.h"
#include "world/CCamera.h"
#include "world/opengl/OpenGLDevice.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <opencv2/core/mat.hpp>
#include <opencv2/videoio.hpp>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// The working folder of one test, from before the application is built (its tracker writes
// the sample files there) until after it is gone: the two sound clips and nothing else.
class ClipsOnlyFolder {
public:
    ClipsOnlyFolder() : m_previous(QDir::currentPath())
    {
        QDir::setCurrent(m_folder.path());
        QDir().mkdir("snd");
        for (const char* clip : {"snd/andar.snd", "snd/golpe.snd"}) {
            QFile file(clip);
            if (file.open(QIODevice::WriteOnly))
                file.write(QByteArray(4 * 2205, '\0'));
        }
    }
    ~ClipsOnlyFolder() { QDir::setCurrent(m_previous); }
    bool IsValid() const { return m_folder.isValid() && QFile::exists("snd/golpe.snd"); }

private:
    QTemporaryDir m_folder;
    QString m_previous;
};

// Start-up where every model is reported missing: the program starts all the same.
class GameAppTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.IsValid());
        ASSERT_TRUE(app.InitInstance());
        // Before any event, so before any pass of the main loop.
        OpenGLDevice* device = app.MainFrame().findChild<OpenGLDevice*>();
        ASSERT_NE(device, nullptr);
        firstFrame = device->ReadBackBuffer();
        view = &app.MainFrame().View();
        camera = CCamera::Current();
        ASSERT_NE(camera, nullptr);
        startEye = camera->Eye();
        startLookAt = camera->LookAt();
        startUp = camera->Up();
        app.MainFrame().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&app.MainFrame()));
    }

    void TearDown() override
    {
        g_steeringMode = KeysOnly;
        g_nCapturesPerSecond = 5;
    }

    bool CameraAtStartPose() const
    {
        return camera->Eye() == startEye && camera->LookAt() == startLookAt && camera->Up() == startUp;
    }

    ClipsOnlyFolder folder;
    QImage firstFrame;
    MessageCapture messages;
    CGameApp app;
    CInputView* view = nullptr;
    const CCamera* camera = nullptr;
    glm::vec3 startEye;
    glm::vec3 startLookAt;
    glm::vec3 startUp;
};

TEST_F(GameAppTest, StartUpLeavesTheGameWaitingWithItsInitialSettings)
{
    EXPECT_FALSE(app.State().m_bStarted);
    EXPECT_EQ(g_steeringMode, KeysOnly);
    EXPECT_EQ(g_nCapturesPerSecond, 5);
    EXPECT_FALSE(app.MainFrame().IsChecked(CommandKeysOnly));
    EXPECT_TRUE(app.MainFrame().IsChecked(CommandCamera));
    const std::vector<std::string> texts = messages.Texts();
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "No se puede inicializar los sonidos"), 0);
    EXPECT_TRUE(app.MainFrame().isVisible());
    EXPECT_EQ(QApplication::focusWidget(), view);
}

TEST_F(GameAppTest, TheIntroIsDrawnDuringStartUp)
{
    // Without an "intro" picture the intro is white on white, where a scene frame is grey.
    ASSERT_EQ(firstFrame.size(), QSize(640, 480));
    int white = 0;
    for (int y = 0; y < firstFrame.height(); y += 8)
        for (int x = 0; x < firstFrame.width(); x += 8)
            white += (firstFrame.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF;
    EXPECT_EQ(white, (640 / 8) * (480 / 8));
}

TEST_F(GameAppTest, KeysDoNothingBeforeEnterAndSteerAfterIt)
{
    for (Qt::Key key : {Qt::Key_Up, Qt::Key_Left, Qt::Key_PageUp, Qt::Key_Home, Qt::Key_Space})
        QTest::keyClick(view, key);
    EXPECT_TRUE(CameraAtStartPose());
    EXPECT_FALSE(app.State().m_bStarted);

    // No camera and no video file: play starts with the keys alone.
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_TRUE(app.State().m_bStarted);
    EXPECT_EQ(g_steeringMode, NoCamera);

    QTest::keyClick(view, Qt::Key_Left);
    EXPECT_FALSE(CameraAtStartPose());
}

TEST_F(GameAppTest, EmpezarStartsPlayThenResetsTheWalkOnTheNextPass)
{
    app.MainFrame().Action(CommandStart)->trigger();
    EXPECT_TRUE(app.State().m_bStarted);
    EXPECT_EQ(g_steeringMode, NoCamera);

    QTest::keyClick(view, Qt::Key_Right);
    app.MainFrame().Action(CommandStart)->trigger();
    EXPECT_TRUE(app.State().m_bResetRequested);
    EXPECT_FALSE(CameraAtStartPose());
    QTest::qWait(50);
    EXPECT_FALSE(app.State().m_bResetRequested);
    EXPECT_TRUE(CameraAtStartPose());
}

TEST_F(GameAppTest, RendimientoSwitchesTheOverlay)
{
    QAction* stats = app.MainFrame().Action(CommandStats);
    stats->trigger();
    EXPECT_TRUE(app.State().m_bShowStats);
    EXPECT_TRUE(stats->isChecked());
    stats->trigger();
    EXPECT_FALSE(app.State().m_bShowStats);
    EXPECT_FALSE(stats->isChecked());
}

TEST_F(GameAppTest, NoPassRunsWhileAModalDialogIsOpen)
{
    QTest::keyClick(view, Qt::Key_Return);
    for (int wait = 0; wait < 200 && app.State().m_dLastCaptureTime == 0.0; ++wait)
        QTest::qWait(10);
    ASSERT_GT(app.State().m_dLastCaptureTime, 0.0) << "passes run during play";

    GameState atOpening;
    GameState beforeClosing;
    QDialog dialog(&app.MainFrame());
    QTimer::singleShot(50, &dialog, [&] { atOpening = app.State(); });
    QTimer::singleShot(400, &dialog, [&] {
        beforeClosing = app.State();
        dialog.accept();
    });
    dialog.exec();
    EXPECT_EQ(beforeClosing.m_nFrameCount, atOpening.m_nFrameCount);
    EXPECT_EQ(beforeClosing.m_dLastCaptureTime, atOpening.m_dLastCaptureTime);
    EXPECT_EQ(beforeClosing.m_dLastRateTime, atOpening.m_dLastRateTime);

    // The first pass afterwards captures at once: more than 200 ms have gone by.
    QTest::qWait(50);
    EXPECT_GT(app.State().m_dLastCaptureTime, beforeClosing.m_dLastCaptureTime);
}

TEST_F(GameAppTest, TheKeysStayWithTheViewWhenPlayOpensTheImageWindow)
{
    const QString video = QDir::current().filePath("quieto.avi");
    {
        cv::VideoWriter writer(video.toStdString(), cv::VideoWriter::fourcc('M', 'J', 'P', 'G'), 25.0, cv::Size(64, 48));
        ASSERT_TRUE(writer.isOpened());
        for (int frame = 0; frame < 5; ++frame)
            writer.write(cv::Mat(48, 64, CV_8UC3, cv::Scalar(40, 80, 120)));
    }
    CommandLineOptions options;
    options.videoFile = video.toStdString();
    options.start = true;
    app.ApplyCommandLine(options);
    EXPECT_EQ(app.State().m_dVideoFrameRate, 25.0);
    EXPECT_EQ(g_steeringMode, HeadSteering);
    QTest::qWait(300);
    const QWidgetList windows = QApplication::topLevelWidgets();
    const bool imageWindow = std::any_of(windows.begin(), windows.end(), [](QWidget* window) {
        return window->isVisible() && window->windowTitle() == QStringLiteral("Imagen");
    });
    EXPECT_TRUE(imageWindow);
    EXPECT_TRUE(app.MainFrame().isActiveWindow());
    EXPECT_EQ(QApplication::focusWidget(), view);
}

TEST_F(GameAppTest, TheCommandLineStartsPlayShowsStatisticsAndStopsAfterItsFrames)
{
    CommandLineOptions options;
    options.start = true;
    options.showStats = true;
    options.frames = 5;
    app.ApplyCommandLine(options);
    EXPECT_TRUE(app.State().m_bStarted);
    EXPECT_TRUE(app.MainFrame().IsChecked(CommandStats));

    bool timedOut = false;
    QTimer::singleShot(20000, [&] {
        timedOut = true;
        QApplication::quit();
    });
    QApplication::exec();
    EXPECT_FALSE(timedOut);
}

}  // namespace
