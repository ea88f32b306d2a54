// The real program under the test display, started from temporary folders.

#include "tests/support/tracking/OctaveSampleFile.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

// Last: Xlib's macros (None, True, Status...) would break the headers above.
#include <X11/Xlib.h>

namespace {

// The program in a folder of its own with the data folder's entries (or the named ones) linked in.
class Program : public QProcess {
public:
    explicit Program(const QStringList& entries = {})
    {
        const QDir data(QStringLiteral(BRUMARIA_SOURCE_DIR "/data"));
        for (const QString& entry :
             entries.isEmpty() ? data.entryList(QDir::AllEntries | QDir::NoDotAndDotDot) : entries)
            QFile::link(data.filePath(entry), Path(entry));
        setWorkingDirectory(m_folder.path());
    }

    QString Path(const QString& name) const { return QDir(m_folder.path()).filePath(name); }

    void Run(const QStringList& arguments, const char* drivers = "null")
    {
        environment.insert("ALSOFT_DRIVERS", drivers);
        // "Ninguna (solo teclas)" chosen: no camera is opened, whatever the machine has.
        environment.remove("BRUMARIA_CAMERA");
        environment.insert("XDG_CONFIG_HOME", Path("config"));
        QDir().mkpath(Path("config/brumaria"));
        std::ofstream(Path("config/brumaria/brumaria.conf").toStdString()) << "[webcam]\ndispositivo=ninguna\n";
        setProcessEnvironment(environment);
        start(BRUMARIA_PROGRAM, arguments);
    }

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();

    // The exit code once it has ended by itself; -1 if it did not in time (it is killed), or crashed.
    int ExitCode(int timeoutMs = 120000)
    {
        if (waitForFinished(timeoutMs) && exitStatus() == QProcess::NormalExit)
            return exitCode();
        kill();
        waitForFinished();
        return -1;
    }

    // The six sample files, each complete and holding at least `samples` values.
    void ExpectCompleteSampleFiles(std::size_t samples) const
    {
        for (const auto& [name, variable] : kSampleFileNames) {
            std::ostringstream text;
            text << std::ifstream(Path(name).toStdString()).rdbuf();
            const OctaveSampleFile file = OctaveSampleFile::Parse(text.str(), variable);
            EXPECT_EQ(file.error, "") << name;
            EXPECT_GE(file.samples.size(), samples) << name;
        }
    }

private:
    QTemporaryDir m_folder;
};

// The fields of /proc/<pid>/stat from the third on; none once the process has gone.
std::vector<std::string> StatFields(const std::string& pid)
{
    std::ifstream file("/proc/" + pid + "/stat");
    std::string line;
    std::getline(file, line);
    // "pid (name) state ppid ...": the name may hold blanks, not a closing parenthesis and a blank.
    const std::size_t nameEnd = line.rfind(") ");
    std::istringstream rest(nameEnd == std::string::npos ? "" : line.substr(nameEnd + 2));
    return {std::istream_iterator<std::string>(rest), std::istream_iterator<std::string>()};
}

// A child process of `parent` (0 if it has none).
pid_t ChildOf(pid_t parent)
{
    for (const QString& entry : QDir("/proc").entryList(QDir::Dirs)) {
        const std::vector<std::string> fields = StatFields(entry.toStdString());
        if (fields.size() > 1 && fields[1] == std::to_string(parent))
            return static_cast<pid_t>(entry.toInt());
    }
    return 0;
}

TEST(ProgramTest, AnUnknownOptionIsAnErrorWithTheUsage)
{
    Program program({"snd"});
    program.Run({"--start", "--turbo"});
    EXPECT_EQ(program.ExitCode(), 2);
    const QByteArray error = program.readAllStandardError();
    EXPECT_TRUE(error.contains("unknown option: --turbo")) << error.data();
    EXPECT_TRUE(error.contains("Usage: brumaria")) << error.data();
}

// No OpenAL backend: the sound plugin's two messages, then the program's, and the program ends.
TEST(ProgramTest, WithoutSoundTheProgramEndsAfterTheSoundMessages)
{
    Program program;
    program.Run({"--start", "--messages-on-stderr"}, "nonexistent");
    EXPECT_GT(program.ExitCode(), 0);
    const QByteArray error = program.readAllStandardError();
    EXPECT_TRUE(error.endsWith("[Error!] SoundPlugin ERROR: no se pudo obtener la interfaz IDirectSound\n"
                               "[Error!] Error en fijar IDirectSound\n"
                               "[Brumaria] No se puede inicializar los sonidos\n"))
        << error.data();
}

TEST(ProgramTest, WithoutADisplayItSaysSoInSpanishAndEndsWithOne)
{
    Program program({"snd"});
    program.environment.remove("DISPLAY");
    program.environment.insert("QT_QPA_PLATFORM", "xcb");
    program.Run({"--messages-on-stderr"});
    EXPECT_EQ(program.ExitCode(), 1);
    const QByteArray error = program.readAllStandardError();
    EXPECT_TRUE(error.contains("brumaria: no hay pantalla")) << error.data();

    // A display that cannot be reached is named, and Qt's own words follow.
    Program unreachable({"snd"});
    unreachable.environment.insert("DISPLAY", ":4242");
    unreachable.environment.insert("QT_QPA_PLATFORM", "xcb");
    unreachable.Run({"--messages-on-stderr"});
    EXPECT_EQ(unreachable.ExitCode(), 1);
    const QByteArray named = unreachable.readAllStandardError();
    EXPECT_TRUE(named.contains("brumaria: no se puede abrir la pantalla :4242.\nThis application failed to start"))
        << named.data();
}

// A signal while the models load ends the program at once, even while a model takes long to
// read, and the sample files it has opened are complete scripts.
TEST(ProgramTest, ASignalDuringStartUpEndsItAtOnce)
{
    Program program({"snd", "texturas", "intro"});
    QDir(program.Path("")).mkdir("modelos");
    // Several seconds of reading for Assimp: a mesh of two million triangles.
    {
        std::ofstream slow(program.Path("modelos/cielo.x").toStdString());
        const int vertices = 2000000;
        slow << "xof 0303txt 0032\nMesh Lento {\n " << vertices << ";\n";
        for (int i = 0; i < vertices; ++i)
            slow << " " << i % 1000 << ".5;" << i / 1000 << ".25;1.0;" << (i + 1 < vertices ? ",\n" : ";\n");
        slow << " " << vertices - 2 << ";\n";
        for (int i = 0; i + 2 < vertices; ++i)
            slow << " 3;" << i << "," << i + 1 << "," << i + 2 << (i + 3 < vertices ? ";,\n" : ";;\n");
        slow << "}\n";
    }
    program.Run({"--messages-on-stderr"});
    ASSERT_TRUE(program.waitForStarted());
    const pid_t pid = static_cast<pid_t>(program.processId());
    // The sky, read first, is being read once the program has started its model reader.
    QElapsedTimer clock;
    clock.start();
    pid_t helper = 0;
    while (clock.elapsed() < 60000 && (helper = ChildOf(pid)) == 0)
        QThread::msleep(20);
    QThread::msleep(300);
    ASSERT_EQ(program.state(), QProcess::Running) << "start-up was over before the signal";
    clock.restart();
    ::kill(pid, SIGTERM);
    EXPECT_EQ(program.ExitCode(30000), 128 + SIGTERM);
    EXPECT_LT(clock.elapsed(), 3000);
    for (int wait = 0; wait < 50 && ::kill(helper, 0) == 0; ++wait)
        QThread::msleep(100);
    EXPECT_NE(::kill(helper, 0), 0) << "the model reader outlived the program";
    program.ExpectCompleteSampleFiles(0);
}

// Ctrl+C in the terminal of `xvfb-run brumaria` reaches the program and its X server at once,
// and a second one follows: whichever goes first, the end is not cut short and the sample files
// are complete. Before it, they were brought up to date while the program played.
TEST(ProgramTest, CtrlCToTheProgramAndItsXServerTogetherCompletesTheFiles)
{
    QProcess server;
    server.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
    ASSERT_TRUE(server.waitForStarted());
    // Xvfb writes its display number once it takes clients.
    ASSERT_TRUE(server.waitForReadyRead(30000));
    Program program({"snd"});
    program.environment.insert("DISPLAY", ":" + QString(server.readAllStandardOutput()).trimmed());
    program.Run({"--video", BRUMARIA_SOURCE_DIR "/data/demo/paseo.avi", "--start", "--messages-on-stderr"});
    const QDeadlineTimer deadline(60000);
    const auto flushed = [&] {
        std::ostringstream text;
        text << std::ifstream(program.Path("muestrasGiroX.m").toStdString()).rdbuf();
        return OctaveSampleFile::Parse(text.str(), "giroX").samples.size();
    };
    while (!deadline.hasExpired() && flushed() < 20)
        QThread::msleep(100);
    ::kill(static_cast<pid_t>(program.processId()), SIGINT);
    ::kill(static_cast<pid_t>(server.processId()), SIGINT);
    QThread::msleep(30);
    ::kill(static_cast<pid_t>(program.processId()), SIGINT);
    EXPECT_TRUE(program.waitForFinished(30000));
    program.ExpectCompleteSampleFiles(20);
    server.waitForFinished();
}

// The property's bytes (32-bit items as longs, as Xlib gives them).
std::string WindowProperty(Display* display, Window window, const char* name)
{
    Atom type = 0;
    int format = 0;
    unsigned long items = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 1 << 20, False, AnyPropertyType,
                           &type, &format, &items, &remaining, &data) != Success ||
        !data)
        return {};
    const std::string bytes(reinterpret_cast<const char*>(data), items * (format == 32 ? sizeof(long) : format / 8));
    XFree(data);
    return bytes;
}

// The process's top-level window with the title, waited for up to `waitMs`; 0 if there is none.
Window FindWindow(Display* display, qint64 processId, const std::string& title, int waitMs = 30000)
{
    const auto pid = static_cast<unsigned long>(processId);
    const QDeadlineTimer deadline(waitMs);
    for (Window found = 0;; QThread::msleep(20)) {
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count);
        for (unsigned int i = 0; i < count && !found; ++i)
            if (WindowProperty(display, children[i], "_NET_WM_NAME") == title &&
                WindowProperty(display, children[i], "_NET_WM_PID") ==
                    std::string(reinterpret_cast<const char*>(&pid), sizeof pid))
                found = children[i];
        if (children)
            XFree(children);
        if (found || deadline.hasExpired())
            return found;
    }
}

// A connection to the test display, errors on windows that have just gone ignored (Xlib's default
// handler exits); a server busy with other clients may refuse one for a moment.
std::unique_ptr<Display, int (*)(Display*)> OpenDisplay()
{
    std::unique_ptr<Display, int (*)(Display*)> display{XOpenDisplay(nullptr), XCloseDisplay};
    for (int attempt = 0; attempt < 20 && !display; ++attempt) {
        QThread::msleep(100);
        display.reset(XOpenDisplay(nullptr));
    }
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    return display;
}

// What a window manager's close button sends.
void RequestClose(Display* display, Window window)
{
    XClientMessageEvent event = {};
    event.type = ClientMessage;
    event.window = window;
    event.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.format = 32;
    event.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    XSendEvent(display, window, False, NoEventMask, reinterpret_cast<XEvent*>(&event));
    XFlush(display);
}

// User and system time of the process (all its threads) in seconds, or -1 once it has gone.
double CpuSeconds(qint64 pid)
{
    // utime and stime are the 14th and 15th fields.
    const std::vector<std::string> fields = StatFields(std::to_string(pid));
    if (fields.size() < 13)
        return -1.0;
    return (std::stod(fields[11]) + std::stod(fields[12])) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// Waits for the program to say its first frame is on the screen (--startup-times).
bool WaitForFirstFrame(Program& program)
{
    program.setReadChannel(QProcess::StandardError);
    QByteArray errors;
    while (!errors.contains("first frame on the screen") && program.waitForReadyRead(60000))
        errors += program.readAllStandardError();
    return errors.contains("first frame on the screen");
}

TEST(ProgramTest, TheTitleScreenIdlesUntilClosedAndPlayIsPacedByTheDisplayWithTheProcessorMostlyFree)
{
    const auto display = OpenDisplay();
    ASSERT_TRUE(display);
    // Only the sound clips: no models to read or draw, so the frames themselves cost little.
    Program title({"snd"});
    title.Run({"--startup-times", "--messages-on-stderr"});
    ASSERT_TRUE(WaitForFirstFrame(title));
    const double titleCpu = CpuSeconds(title.processId());
    QThread::msleep(1500);
    EXPECT_LT(CpuSeconds(title.processId()) - titleCpu, 0.15) << "the title screen keeps the processor busy";
    RequestClose(display.get(), FindWindow(display.get(), title.processId(), "Brumaria"));
    EXPECT_EQ(title.ExitCode(), 0) << "the main window's close request";

    // 120 passes at the display's 60 Hz take two seconds; the processor waits in between. In a
    // small window: Mesa's software renderer composes every frame into the window at a cost that
    // grows with its size.
    Program play({"snd"});
    play.Run({"--start", "--frames", "120", "--startup-times", "--messages-on-stderr"});
    const Window window = FindWindow(display.get(), play.processId(), "Brumaria");
    ASSERT_NE(window, 0u);
    XResizeWindow(display.get(), window, 160, 160);
    XFlush(display.get());
    ASSERT_TRUE(WaitForFirstFrame(play));
    // The window carries the program's icon at every size it was drawn at.
    const std::string icon = WindowProperty(display.get(), window, "_NET_WM_ICON");
    const auto* longs = reinterpret_cast<const unsigned long*>(icon.data());
    const std::size_t count = icon.size() / sizeof(long);
    std::multiset<int> sizes;
    for (std::size_t at = 0; at + 2 <= count && at + 2 + longs[at] * longs[at + 1] <= count;
         at += 2 + longs[at] * longs[at + 1]) {
        const int size = static_cast<int>(longs[at]);
        sizes.insert(size);
        const QImage drawn(QString(BRUMARIA_SOURCE_DIR "/packaging/icons/hicolor/%1x%1/apps/brumaria.png").arg(size));
        EXPECT_EQ(longs[at + 2 + size / 2 * size + size / 2] & 0xFFFFFFFF, drawn.pixel(size / 2, size / 2)) << size;
    }
    EXPECT_EQ(sizes, (std::multiset<int>{16, 32, 48, 64, 128, 256}));
    QElapsedTimer wall;
    wall.start();
    const double startCpu = CpuSeconds(play.processId());
    double cpu = 0.0;
    qint64 measured = 0;
    while (!play.waitForFinished(50)) {
        const double now = CpuSeconds(play.processId());
        if (now >= 0.0) {
            cpu = now - startCpu;
            measured = wall.elapsed();
        }
    }
    EXPECT_EQ(play.exitCode(), 0);
    EXPECT_GE(wall.elapsed(), 1800) << "120 passes went faster than the display refreshes";
    EXPECT_LT(cpu * 1000.0, 0.4 * static_cast<double>(measured)) << cpu << " s of processor in " << measured << " ms";
}

// The box of the start view's cross against the sky, above the wall and in the middle of the view.
QRect CrossIn(const QImage& image, const QRect& view)
{
    const QRect band(view.x() + view.width() * 3 / 10, view.y() + view.height() / 10, view.width() * 4 / 10,
                     view.height() / 4);
    QRect box;
    for (int y = band.top(); y <= band.bottom(); ++y)
        for (int x = band.left(); x <= band.right(); ++x)
            if (qGray(image.pixel(x, y)) < 140)
                box |= QRect(x, y, 1, 1);
    return box;
}

// The start view, first at the window's first size, with the statistics over it and no message
// (every model and picture found); then in a window made 1280 x 720 as soon as it shows, as a
// player would.
TEST(ProgramTest, AWindowMade1280By720ShowsTheViewLargerUndistortedBetweenBlackBars)
{
    Program first;
    first.Run({"--start", "--stats", "--frames", "30", "--screenshot", "view.png", "--messages-on-stderr"});
    ASSERT_EQ(first.ExitCode(), 0);
    const QByteArray error = first.readAllStandardError();
    EXPECT_FALSE(("\n" + error).contains("\n[")) << "no message expected: " << error.data();
    const QImage small(first.Path("view.png"));
    ASSERT_EQ(small.size(), QSize(640, 480));
    int red = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 200; ++x)
            red += qRed(small.pixel(x, y)) > 200 && qGreen(small.pixel(x, y)) < 60;
    EXPECT_GT(red, 20) << "the statistics' first line";

    const auto display = OpenDisplay();
    ASSERT_TRUE(display);
    Program resized;
    resized.Run({"--start", "--frames", "120", "--screenshot", "view.png", "--messages-on-stderr"});
    const Window window = FindWindow(display.get(), resized.processId(), "Brumaria");
    ASSERT_NE(window, 0u);
    XWindowAttributes attributes{};
    ASSERT_TRUE(XGetWindowAttributes(display.get(), window, &attributes));
    // The menu bar keeps its height above the view.
    XResizeWindow(display.get(), window, 1280, 720 + attributes.height - 480);
    XFlush(display.get());
    ASSERT_EQ(resized.ExitCode(), 0);
    const QImage large(resized.Path("view.png"));
    ASSERT_EQ(large.size(), QSize(1280, 720));

    // A 960 x 720 view in the middle, black bars beside it.
    int blackInBars = 0;
    int blackViewEdges = 0;
    for (int y = 0; y < 720; ++y) {
        for (const int x : {0, 80, 159, 1120, 1200, 1279})
            blackInBars += (large.pixel(x, y) & 0xFFFFFF) == 0;
        blackViewEdges += (large.pixel(160, y) & 0xFFFFFF) == 0 && (large.pixel(1119, y) & 0xFFFFFF) == 0;
    }
    EXPECT_EQ(blackInBars, 6 * 720);
    EXPECT_LT(blackViewEdges, 10);
    // The cross half as large again, as high up and as far across the view: nothing stretched.
    const QRect before = CrossIn(small, QRect(0, 0, 640, 480));
    const QRect after = CrossIn(large, QRect(160, 0, 960, 720));
    ASSERT_GT(before.width(), 40) << "no cross in the start view";
    EXPECT_NEAR(after.width(), 1.5 * before.width(), 3.0);
    EXPECT_NEAR(after.height(), 1.5 * before.height(), 3.0);
    EXPECT_NEAR(after.left() - 160, 1.5 * before.left(), 3.0);
    EXPECT_NEAR(after.top(), 1.5 * before.top(), 3.0);
}

// The program playing the demo video with head steering, its configuracion a FIFO (not waited for:
// it is named, the defaults hold and play goes on). Closing the camera window keeps it playing; the
// X server closing its connection, as when the display goes away, ends it through Xlib, and the
// sample files are completed on the way out.
TEST(ProgramTest, ClosingTheCameraWindowKeepsPlayingAndLosingTheDisplayCompletesTheFiles)
{
    const auto display = OpenDisplay();
    ASSERT_TRUE(display);
    // The sound clips only: the program starts without models all the same, and sooner.
    Program program({"snd"});
    ASSERT_EQ(::mkfifo(program.Path("configuracion").toLocal8Bit().constData(), 0644), 0);
    program.Run({"--video", BRUMARIA_SOURCE_DIR "/data/demo/paseo.avi", "--start", "--messages-on-stderr"});
    // Playing once the camera picture shows; head steering a little later.
    const Window image = FindWindow(display.get(), program.processId(), "Imagen", 60000);
    ASSERT_NE(image, 0u) << "the program did not start playing";
    QThread::msleep(1500);
    RequestClose(display.get(), image);
    EXPECT_FALSE(program.waitForFinished(1500)) << "closing the camera window ended the program";
    const Window main = FindWindow(display.get(), program.processId(), "Brumaria");
    ASSERT_NE(main, 0u);
    XKillClient(display.get(), main);
    XFlush(display.get());
    EXPECT_EQ(program.ExitCode(30000), 1);
    program.ExpectCompleteSampleFiles(5);
    const QByteArray error = program.readAllStandardError();
    EXPECT_TRUE(
        error.contains("[Brumaria] No se puede leer el archivo configuracion: se usan los valores por defecto\n"))
        << error.data();
}

}  // namespace
