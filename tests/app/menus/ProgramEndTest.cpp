// The real program, playing a head video under the test display, ended in each way a player
// can end it: the six sample files must be complete every time.

#include "tests/tracking/HeadScenes.h"
#include "tests/tracking/OctaveSampleFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <iterator>

#include <sys/types.h>

// Last: Xlib's macros (None, True, Status...) would break the headers above.
#include <X11/Xlib.h>
#include <X11/Xatom.h>
#include <X11/keysym.h>

namespace {

const char* const kSampleFiles[][2] = {{"muestrasPosX.m", "movX"},   {"muestrasPosY.m", "movY"},
                                       {"muestrasPosZ.m", "movZ"},   {"muestrasGiroX.m", "giroX"},
                                       {"muestrasGiroY.m", "giroY"}, {"muestrasGiroZ.m", "giroZ"}};

// Windows of other tests come and go while this one looks at them: a request on a window that
// has just gone must fail quietly instead of ending the test (Xlib's default handler exits).
int IgnoreXErrors(Display*, XErrorEvent*)
{
    return 0;
}

// The test display, as the window system sees it.
class Screen {
public:
    Screen() : m_display(XOpenDisplay(nullptr)) { XSetErrorHandler(IgnoreXErrors); }
    ~Screen()
    {
        if (m_display)
            XCloseDisplay(m_display);
    }
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    bool IsOpen() const { return m_display != nullptr; }

    // A top-level window of this process with this title; 0 if there is none. Other tests
    // may show windows of the same title on the display at the same time.
    Window FindWindow(const std::string& title, qint64 process) const
    {
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(m_display, DefaultRootWindow(m_display), &root, &parent, &children, &count))
            return 0;
        Window found = 0;
        for (unsigned int i = 0; i < count && !found; ++i) {
            if (Title(children[i]) == title && Process(children[i]) == process)
                found = children[i];
        }
        if (children)
            XFree(children);
        return found;
    }

    // The player presses a key in the window (after giving it the keyboard).
    void PressKey(Window window, KeySym key)
    {
        XSetInputFocus(m_display, window, RevertToParent, CurrentTime);
        XSync(m_display, False);
        QThread::msleep(300);
        XKeyEvent event = {};
        event.display = m_display;
        event.window = window;
        event.root = DefaultRootWindow(m_display);
        event.time = CurrentTime;
        event.same_screen = True;
        event.keycode = XKeysymToKeycode(m_display, key);
        for (const int type : {KeyPress, KeyRelease}) {
            event.type = type;
            XSendEvent(m_display, window, True, type == KeyPress ? KeyPressMask : KeyReleaseMask,
                       reinterpret_cast<XEvent*>(&event));
        }
        XFlush(m_display);
    }

    // What a window manager's close button sends.
    void RequestClose(Window window)
    {
        XClientMessageEvent event = {};
        event.type = ClientMessage;
        event.window = window;
        event.message_type = XInternAtom(m_display, "WM_PROTOCOLS", False);
        event.format = 32;
        event.data.l[0] = static_cast<long>(XInternAtom(m_display, "WM_DELETE_WINDOW", False));
        event.data.l[1] = CurrentTime;
        XSendEvent(m_display, window, False, NoEventMask, reinterpret_cast<XEvent*>(&event));
        XFlush(m_display);
    }

private:
    qint64 Process(Window window) const
    {
        Atom type = 0;
        int format = 0;
        unsigned long items = 0;
        unsigned long remaining = 0;
        unsigned char* data = nullptr;
        const Atom pid = XInternAtom(m_display, "_NET_WM_PID", False);
        if (XGetWindowProperty(m_display, window, pid, 0, 1, False, XA_CARDINAL, &type, &format, &items,
                               &remaining, &data) != Success ||
            !data)
            return -1;
        const qint64 process = items == 1 ? static_cast<qint64>(*reinterpret_cast<const unsigned long*>(data)) : -1;
        XFree(data);
        return process;
    }

    std::string Title(Window window) const
    {
        Atom type = 0;
        int format = 0;
        unsigned long items = 0;
        unsigned long remaining = 0;
        unsigned char* data = nullptr;
        const Atom name = XInternAtom(m_display, "_NET_WM_NAME", False);
        if (XGetWindowProperty(m_display, window, name, 0, 256, False, AnyPropertyType, &type, &format, &items,
                               &remaining, &data) != Success ||
            !data)
            return {};
        std::string title(reinterpret_cast<const char*>(data), items);
        XFree(data);
        return title;
    }

    Display* m_display;
};

class ProgramEndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        ASSERT_TRUE(screen.IsOpen()) << "no display";
        // The sound clips only: the program starts without models all the same, and sooner.
        QFile::link(QStringLiteral(BRUMARIA_SOURCE_DIR "/data/snd"), QDir(folder.path()).filePath("snd"));
        headscenes::WriteVideo(Path("cara.avi"), std::vector<cv::Mat>(250, headscenes::FaceFrame()));

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("ALSOFT_DRIVERS", "null");
        environment.insert("BRUMARIA_CAMERA", "99");
        program.setProcessEnvironment(environment);
        program.setWorkingDirectory(folder.path());
        program.start(BRUMARIA_PROGRAM, {"--video", "cara.avi", "--start", "--messages-on-stderr"});
        ASSERT_TRUE(program.waitForStarted());
        // Playing once the camera picture shows, and following the face a little later.
        for (int wait = 0; wait < 600 && !screen.FindWindow("Imagen", program.processId()); ++wait)
            QThread::msleep(100);
        ASSERT_NE(screen.FindWindow("Imagen", program.processId()), 0u) << "the program did not start playing";
        QThread::msleep(1500);
        ASSERT_EQ(program.state(), QProcess::Running);
    }

    void TearDown() override
    {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished();
        }
    }

    std::string Path(const char* name) const { return QDir(folder.path()).filePath(name).toStdString(); }

    // The program's exit code once it has ended by itself; -1 if it did not, or crashed.
    int ExitCode()
    {
        if (!program.waitForFinished(30000) || program.exitStatus() != QProcess::NormalExit)
            return -1;
        return program.exitCode();
    }

    void ExpectCompletedSampleFiles()
    {
        for (const auto& file : kSampleFiles) {
            std::ifstream in(Path(file[0]), std::ios::binary);
            const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            const OctaveSampleFile parsed = OctaveSampleFile::Parse(text, file[1]);
            EXPECT_EQ(parsed.error, "") << file[0];
            // Head steering ran: the passes were recorded.
            EXPECT_GT(parsed.samples.size(), 5u) << file[0];
        }
    }

    QTemporaryDir folder;
    Screen screen;
    QProcess program;
};

TEST_F(ProgramEndTest, SigtermEndsThePlayingProgramWithTheSampleFilesCompleted)
{
    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    EXPECT_EQ(ExitCode(), 128 + SIGTERM) << program.readAllStandardError().toStdString();
    ExpectCompletedSampleFiles();
}

TEST_F(ProgramEndTest, CtrlCEndsThePlayingProgramWithTheSampleFilesCompleted)
{
    ::kill(static_cast<pid_t>(program.processId()), SIGINT);
    EXPECT_EQ(ExitCode(), 128 + SIGINT) << program.readAllStandardError().toStdString();
    ExpectCompletedSampleFiles();
}

TEST_F(ProgramEndTest, EscInTheMainWindowEndsTheProgramWithTheSampleFilesCompleted)
{
    const Window main = screen.FindWindow("Brumaria", program.processId());
    ASSERT_NE(main, 0u);
    screen.PressKey(main, XK_Escape);
    EXPECT_EQ(ExitCode(), 0) << program.readAllStandardError().toStdString();
    ExpectCompletedSampleFiles();
}

TEST_F(ProgramEndTest, ClosingTheMainWindowEndsTheProgramWithTheSampleFilesCompleted)
{
    const Window main = screen.FindWindow("Brumaria", program.processId());
    ASSERT_NE(main, 0u);
    screen.RequestClose(main);
    EXPECT_EQ(ExitCode(), 0) << program.readAllStandardError().toStdString();
    ExpectCompletedSampleFiles();
}

TEST_F(ProgramEndTest, ClosingOnlyTheCameraWindowKeepsThePlaying)
{
    const Window image = screen.FindWindow("Imagen", program.processId());
    ASSERT_NE(image, 0u);
    screen.RequestClose(image);
    EXPECT_FALSE(program.waitForFinished(2000));
    EXPECT_EQ(program.state(), QProcess::Running);
}

}  // namespace
