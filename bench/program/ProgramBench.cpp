// The real program as a player runs it, measured from outside on an X display: the processor
// time of its process (every thread of it, from /proc/PID/stat) on the title screen, playing with
// the keys alone, playing the demo video and with a menu or a dialog open; main-loop passes per second
// while playing; and the time from launching it to its first frame on the screen.
//
//   program_bench PROGRAM DATA_FOLDER [--runs N] [--window SECONDS] [--server-pid PID]
//
// The program runs in a scratch folder that links the entries of DATA_FOLDER, with OpenAL's null
// device and no camera. --server-pid also reports the X server's share. A program whose --help
// offers --startup-times reports the median of each start-up stage too, and one that offers
// --unpaced its passes per second unpaced; older programs are measured without them.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

// Last: Xlib's macros would break the headers above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Messages to standard error: no message box holds the program still where none is meant to.
constexpr const char* kQuiet = "--messages-on-stderr";

struct Settings {
    std::string program;
    fs::path data;
    int runs = 5;
    int windowSeconds = 10;
    pid_t server = 0;
    // What the program's --help offers.
    bool stages = false;
    bool unpaced = false;
};

double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void Sleep(double seconds)
{
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

std::string LoadAverage()
{
    std::string one;
    std::ifstream("/proc/loadavg") >> one;
    return one;
}

// User and system time of the process and all its threads, in seconds; negative once it has gone.
double CpuSeconds(pid_t pid)
{
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(file, line) || line.rfind(')') == std::string::npos)
        return -1.0;
    // The fields after the command name start with the third, the state; utime and stime are
    // the 14th and 15th.
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::vector<std::string> values;
    for (std::string value; fields >> value;)
        values.push_back(value);
    if (values.size() < 13)
        return -1.0;
    return (std::stod(values[11]) + std::stod(values[12])) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// What the command writes to standard output.
std::string Output(const std::string& command)
{
    std::string output;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t count; (count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            output.append(buffer, count);
        ::pclose(pipe);
    }
    return output;
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

// The program running in the scratch folder, its standard error kept in a file there.
class Run {
public:
    Run(const Settings& settings, const fs::path& folder, const std::vector<std::string>& arguments)
        : m_errors(folder / "stderr.txt")
    {
        m_start = Clock::now();
        m_pid = ::fork();
        if (m_pid == 0) {
            if (::chdir(folder.c_str()) != 0)
                ::_exit(127);
            ::setenv("ALSOFT_DRIVERS", "null", 1);
            ::setenv("BRUMARIA_CAMERA", "99", 1);
            const int errors = ::open(m_errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            const int nothing = ::open("/dev/null", O_WRONLY);
            ::dup2(errors, 2);
            ::dup2(nothing, 1);
            std::vector<char*> argv{const_cast<char*>(settings.program.c_str())};
            for (const std::string& argument : arguments)
                argv.push_back(const_cast<char*>(argument.c_str()));
            argv.push_back(nullptr);
            ::execv(settings.program.c_str(), argv.data());
            ::_exit(127);
        }
    }
    ~Run() { Stop(); }
    Run(const Run&) = delete;
    Run& operator=(const Run&) = delete;

    pid_t Pid() const { return m_pid; }
    Clock::time_point Start() const { return m_start; }

    // Seconds from the launch to the end, or a negative number if it did not end in time.
    double WaitForEnd(double timeoutSeconds)
    {
        while (SecondsSince(m_start) < timeoutSeconds) {
            int status = 0;
            if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_pid = 0;
                return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? SecondsSince(m_start) : -1.0;
            }
            Sleep(0.002);
        }
        return -1.0;
    }

    // As Ctrl+C would; killed if that does not end it.
    void Stop()
    {
        if (m_pid <= 0)
            return;
        ::kill(m_pid, SIGINT);
        const Clock::time_point asked = Clock::now();
        int status = 0;
        while (::waitpid(m_pid, &status, WNOHANG) == 0) {
            if (SecondsSince(asked) > 10.0) {
                ::kill(m_pid, SIGKILL);
                ::waitpid(m_pid, &status, 0);
                break;
            }
            Sleep(0.01);
        }
        m_pid = 0;
    }

    std::string Errors() const
    {
        std::ostringstream text;
        text << std::ifstream(m_errors).rdbuf();
        return text.str();
    }

private:
    fs::path m_errors;
    Clock::time_point m_start;
    pid_t m_pid = 0;
};

// The program's windows on the display, as a window manager would see them.
class Screen {
public:
    Screen() : m_display(XOpenDisplay(nullptr))
    {
        // A window that goes while it is looked at is simply not found.
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    }
    ~Screen()
    {
        if (m_display)
            XCloseDisplay(m_display);
    }
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    bool Open() const { return m_display != nullptr; }

    // The top-level windows of the process, mapped ones only.
    std::vector<Window> Windows(pid_t pid) const
    {
        Window root = 0, parent = 0;
        Window* children = nullptr;
        unsigned count = 0;
        std::vector<Window> found;
        if (!XQueryTree(m_display, DefaultRootWindow(m_display), &root, &parent, &children, &count))
            return found;
        for (unsigned i = 0; i < count; ++i) {
            XWindowAttributes attributes;
            if (WindowPid(children[i]) == static_cast<unsigned long>(pid) &&
                XGetWindowAttributes(m_display, children[i], &attributes) && attributes.map_state == IsViewable)
                found.push_back(children[i]);
        }
        if (children)
            XFree(children);
        return found;
    }

    // The main window: the process's window whose title is "Brumaria"; 0 if none is shown.
    Window MainWindow(pid_t pid) const
    {
        for (Window window : Windows(pid)) {
            char* name = nullptr;
            const bool main = XFetchName(m_display, window, &name) && name && std::strcmp(name, "Brumaria") == 0;
            if (name)
                XFree(name);
            if (main)
                return window;
        }
        return 0;
    }

    // Whether the lower part of the window, below where the start-up texts are written, shows a
    // picture rather than the white of the start-up screen (or a window not painted yet).
    bool ShowsAPicture(Window window) const
    {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(m_display, window, &attributes) || attributes.width < 600 || attributes.height < 300)
            return false;
        int coloured = 0;
        for (int row = 0; row < 3; ++row) {
            for (int column = 0; column < 4; ++column) {
                const int x = attributes.width * (2 * column + 1) / 8;
                const int y = attributes.height - 30 - 100 * row;
                XImage* image = XGetImage(m_display, window, x, y, 1, 1, AllPlanes, ZPixmap);
                if (!image)
                    return false;
                const unsigned long pixel = XGetPixel(image, 0, 0);
                XDestroyImage(image);
                const int red = (pixel >> 16) & 0xFF, green = (pixel >> 8) & 0xFF, blue = pixel & 0xFF;
                // Neither the white of the start-up screen nor the black of a window not yet painted.
                coloured += std::max({red, green, blue}) < 235 && red + green + blue > 30;
            }
        }
        return coloured >= 8;
    }

    // Seconds from the launch until the main window shows its first picture; negative if it
    // does not within the timeout.
    double WaitForFirstFrame(const Run& run, double timeoutSeconds = 60.0) const
    {
        while (SecondsSince(run.Start()) < timeoutSeconds) {
            const Window window = MainWindow(run.Pid());
            // Without a window manager the tracker's windows open over it.
            if (window)
                XRaiseWindow(m_display, window);
            if (window && ShowsAPicture(window))
                return SecondsSince(run.Start());
            Sleep(0.003);
        }
        return -1.0;
    }

    // Whether the process shows a window with this title (UTF-8).
    bool Has(pid_t pid, const std::string& title) const
    {
        for (Window window : Windows(pid)) {
            Atom type = 0;
            int format = 0;
            unsigned long items = 0, remaining = 0;
            unsigned char* data = nullptr;
            if (XGetWindowProperty(m_display, window, XInternAtom(m_display, "_NET_WM_NAME", False), 0, 256, False,
                                   AnyPropertyType, &type, &format, &items, &remaining, &data) != Success ||
                !data)
                continue;
            const bool same = std::string(reinterpret_cast<const char*>(data), items) == title;
            XFree(data);
            if (same)
                return true;
        }
        return false;
    }

    // A press and release of the key with the modifiers (Mod1Mask: Alt) at the window, as the X
    // server delivers it.
    void PressKey(Window window, KeySym key, unsigned modifiers) const
    {
        XKeyEvent event = {};
        event.display = m_display;
        event.window = window;
        event.root = DefaultRootWindow(m_display);
        event.same_screen = True;
        event.keycode = XKeysymToKeycode(m_display, key);
        event.state = modifiers;
        // Without a window manager nobody gives the window the keyboard.
        XSetInputFocus(m_display, window, RevertToParent, CurrentTime);
        XSync(m_display, False);
        Sleep(1.0);
        for (const int type : {KeyPress, KeyRelease}) {
            event.type = type;
            XSendEvent(m_display, window, True, type == KeyPress ? KeyPressMask : KeyReleaseMask,
                       reinterpret_cast<XEvent*>(&event));
        }
        XFlush(m_display);
    }

private:
    unsigned long WindowPid(Window window) const
    {
        Atom type = 0;
        int format = 0;
        unsigned long items = 0, remaining = 0;
        unsigned char* data = nullptr;
        unsigned long pid = 0;
        if (XGetWindowProperty(m_display, window, XInternAtom(m_display, "_NET_WM_PID", False), 0, 1, False,
                               XA_CARDINAL, &type, &format, &items, &remaining, &data) == Success &&
            data) {
            if (items == 1 && format == 32)
                pid = *reinterpret_cast<unsigned long*>(data);
            XFree(data);
        }
        return pid;
    }

    Display* m_display;
};

class Bench {
public:
    Bench(const Settings& settings, const fs::path& folder) : m_settings(settings), m_folder(folder) {}

    bool Ready() const { return m_screen.Open(); }

    // Share of one core over the window, once the program has settled after its first frame.
    // `meanwhile` runs before the window, after the settling.
    void CpuShare(const std::string& title, const std::vector<std::string>& arguments,
                  const std::function<std::string(Run&)>& meanwhile = {})
    {
        const std::string loadBefore = LoadAverage();
        Run run(m_settings, m_folder, arguments);
        if (m_screen.WaitForFirstFrame(run) < 0.0) {
            std::printf("| %s | no picture within a minute |\n", title.c_str());
            return;
        }
        Sleep(2.0);
        const std::string note = meanwhile ? meanwhile(run) : std::string();
        const double serverStart = m_settings.server ? CpuSeconds(m_settings.server) : 0.0;
        const double start = CpuSeconds(run.Pid());
        const Clock::time_point from = Clock::now();
        Sleep(m_settings.windowSeconds);
        const double used = CpuSeconds(run.Pid()) - start;
        const double serverUsed = m_settings.server ? CpuSeconds(m_settings.server) - serverStart : 0.0;
        const double wall = SecondsSince(from);
        std::printf("| %s | %.1f %% | %s | %.1f s | %s, %s |%s\n", title.c_str(), 100.0 * used / wall,
                    m_settings.server ? (Format(100.0 * serverUsed / wall) + " %").c_str() : "—", wall,
                    loadBefore.c_str(), LoadAverage().c_str(), note.c_str());
        std::fflush(stdout);
    }

    // Passes per second from the difference between a short and a long run of --frames: the
    // start-up and the end cancel out.
    void PassesPerSecond(const std::string& title, const std::vector<std::string>& arguments)
    {
        const int shortRun = 60;
        const int longRun = shortRun + 60 * m_settings.windowSeconds;
        const std::string loadBefore = LoadAverage();
        const double shortTime = RunFrames(arguments, shortRun);
        const double longTime = RunFrames(arguments, longRun);
        if (shortTime < 0.0 || longTime < 0.0) {
            std::printf("| %s | a run failed |\n", title.c_str());
            return;
        }
        std::printf("| %s | %.1f passes/s | — | %d passes in %.2f s | %s, %s |\n", title.c_str(),
                    (longRun - shortRun) / (longTime - shortTime), longRun - shortRun, longTime - shortTime,
                    loadBefore.c_str(), LoadAverage().c_str());
        std::fflush(stdout);
    }

    // Launch to first frame, warm: one run first to fill the caches, then the median of the runs.
    void StartUp()
    {
        const std::string loadBefore = LoadAverage();
        std::vector<std::string> arguments{kQuiet};
        if (m_settings.stages)
            arguments.push_back("--startup-times");
        std::vector<double> times;
        std::map<std::string, std::vector<double>> stages;
        std::vector<std::string> order;
        for (int i = 0; i <= m_settings.runs; ++i) {
            Run run(m_settings, m_folder, arguments);
            const double shown = m_screen.WaitForFirstFrame(run);
            // The program reports its stages once the frame is on the screen.
            Sleep(0.5);
            run.Stop();
            if (i == 0 || shown < 0.0)
                continue;
            times.push_back(shown);
            std::istringstream lines(run.Errors());
            for (std::string line; std::getline(lines, line);) {
                const std::string prefix = "brumaria: start-up: ";
                const std::size_t colon = line.rfind(": ");
                if (line.rfind(prefix, 0) != 0 || colon < prefix.size())
                    continue;
                const std::string stage = line.substr(prefix.size(), colon - prefix.size());
                if (!stages.count(stage))
                    order.push_back(stage);
                stages[stage].push_back(std::atof(line.c_str() + colon + 2));
            }
        }
        std::string runs;
        for (double time : times)
            runs += (runs.empty() ? "" : " ") + Format(time * 1000.0, 0);
        std::printf("| Start-up to the first frame, warm | %.0f ms (median of %zu) | — | runs: %s ms | %s, %s |\n",
                    Median(times) * 1000.0, times.size(), runs.c_str(), loadBefore.c_str(), LoadAverage().c_str());
        for (const std::string& stage : order)
            std::printf("| - %s | %.0f ms | | | |\n", stage.c_str(), Median(stages[stage]));
        std::fflush(stdout);
    }

    // During play, the "Opciones" menu open (Alt+O), then in another run its first item's dialog,
    // "Parámetros" (Alt+O, Enter).
    void MenuAndDialogOpen()
    {
        CpuShare("Playing, keys only, a menu open", {"--start", kQuiet},
                 [this](Run& run) { return OpenMenu(run) ? std::string() : std::string(" no menu appeared"); });
        CpuShare("Playing, keys only, a dialog open", {"--start", kQuiet}, [this](Run& run) {
            const Window menu = OpenMenu(run);
            if (!menu)
                return std::string(" no menu appeared");
            const bool shown = PressUntil(menu, XK_Return, 0, [&] { return m_screen.Has(run.Pid(), "Parámetros"); });
            return shown ? std::string() : std::string(" no dialog appeared");
        });
    }

private:
    // Presses the key (again, if a key came before the window had the focus and was lost) until
    // `done`; false if it never is.
    bool PressUntil(Window window, KeySym key, unsigned modifiers, const std::function<bool()>& done)
    {
        for (int press = 0; press < 5; ++press) {
            m_screen.PressKey(window, key, modifiers);
            for (int wait = 0; wait < 20; ++wait) {
                Sleep(0.1);
                if (done())
                    return true;
            }
        }
        return false;
    }

    // The "Opciones" menu's window once Alt+O has opened it; 0 if it does not open.
    Window OpenMenu(Run& run)
    {
        const std::vector<Window> before = m_screen.Windows(run.Pid());
        Window menu = 0;
        PressUntil(m_screen.MainWindow(run.Pid()), XK_o, Mod1Mask, [&] {
            for (Window window : m_screen.Windows(run.Pid()))
                if (std::find(before.begin(), before.end(), window) == before.end())
                    menu = window;
            return menu != 0;
        });
        // Settled once it shows.
        Sleep(1.0);
        return menu;
    }

    static std::string Format(double value, int decimals = 1)
    {
        char text[32];
        std::snprintf(text, sizeof text, "%.*f", decimals, value);
        return text;
    }

    double RunFrames(std::vector<std::string> arguments, int frames)
    {
        arguments.insert(arguments.end(), {"--start", kQuiet, "--frames", std::to_string(frames)});
        Run run(m_settings, m_folder, arguments);
        return run.WaitForEnd(120.0);
    }

    const Settings& m_settings;
    fs::path m_folder;
    Screen m_screen;
};

bool ParseSettings(int argc, char** argv, Settings& settings)
{
    if (argc < 3)
        return false;
    settings.program = fs::absolute(argv[1]).string();
    settings.data = fs::absolute(argv[2]);
    for (int i = 3; i < argc; ++i) {
        const std::string option = argv[i];
        const bool hasValue = i + 1 < argc;
        if (option == "--runs" && hasValue)
            settings.runs = std::max(1, std::atoi(argv[++i]));
        else if (option == "--window" && hasValue)
            settings.windowSeconds = std::max(1, std::atoi(argv[++i]));
        else if (option == "--server-pid" && hasValue)
            settings.server = static_cast<pid_t>(std::atoi(argv[++i]));
        else
            return false;
    }
    if (!fs::is_regular_file(settings.program) || !fs::is_directory(settings.data))
        return false;
    const std::string help = Output(settings.program + " --help");
    settings.stages = help.find("--startup-times") != std::string::npos;
    settings.unpaced = help.find("--unpaced") != std::string::npos;
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    Settings settings;
    if (!ParseSettings(argc, argv, settings)) {
        std::fprintf(stderr,
                     "usage: program_bench PROGRAM DATA_FOLDER [--runs N] [--window SECONDS] "
                     "[--server-pid PID]\n");
        return 2;
    }
    char pattern[] = "/tmp/brumaria-bench-XXXXXX";
    if (!::mkdtemp(pattern)) {
        std::perror("program_bench");
        return 1;
    }
    const fs::path folder = pattern;
    for (const fs::directory_entry& entry : fs::directory_iterator(settings.data))
        fs::create_symlink(entry.path(), folder / entry.path().filename());

    Bench bench(settings, folder);
    if (!bench.Ready()) {
        std::fprintf(stderr, "program_bench: no X display\n");
        return 1;
    }
    std::printf("Program: %s\n\n| Measure | Program | X server | Window, runs | Load (1 min) before, after |\n"
                "|---|---|---|---|---|\n",
                settings.program.c_str());
    const std::string video = (settings.data / "demo" / "paseo.avi").string();
    bench.StartUp();
    bench.CpuShare("Title screen", {kQuiet});
    bench.CpuShare("Playing, keys only", {"--start", kQuiet});
    bench.CpuShare("Playing the demo video", {"--video", video, "--start", kQuiet});
    bench.MenuAndDialogOpen();
    bench.PassesPerSecond("Passes per second, keys only", {});
    bench.PassesPerSecond("Passes per second, demo video", {"--video", video});
    if (settings.unpaced)
        bench.PassesPerSecond("Passes per second, keys only, --unpaced", {"--unpaced"});
    fs::remove_all(folder);
    return 0;
}
