// The program as a user gets it: installed into a prefix (cmake --install with DESTDIR) or from
// the Debian package unpacked with dpkg -x, started from / with a home of its own.

#include "tests/support/tracking/OctaveSampleFile.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>

// Last: Xlib's macros (None, True, Status...) would break the headers above.
#include <X11/Xlib.h>

namespace {

const int kIconSizes[] = {16, 32, 48, 64, 128, 256};

struct Finished {
    int exitCode = -1;  // -1: killed at the time-out, or crashed
    QByteArray output;
    QByteArray error;
};

Finished RunProgram(const QString& program, const QStringList& arguments, const QString& folder = QDir::currentPath(),
                    const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    Finished finished;
    if (process.waitForFinished(300000) && process.exitStatus() == QProcess::NormalExit) {
        finished.exitCode = process.exitCode();
    } else {
        process.kill();
        process.waitForFinished();
    }
    finished.output = process.readAllStandardOutput();
    finished.error = process.readAllStandardError();
    return finished;
}

QByteArray Read(const QString& file)
{
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

// Every entry below the folder with its size and time, to tell whether anything was written.
std::map<QString, QString> Snapshot(const QString& folder)
{
    std::map<QString, QString> entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        entries[it.filePath()] =
            QString("%1 %2").arg(it.fileInfo().size()).arg(it.fileInfo().lastModified().toMSecsSinceEpoch());
    }
    return entries;
}

// _NET_WM_ICON of the program's window, once its window shows one: each size with its ARGB
// pixels. Empty when the program ended first.
std::map<int, std::vector<unsigned long>> WindowIcons(QProcess& program)
{
    const std::unique_ptr<Display, int (*)(Display*)> display(XOpenDisplay(nullptr), XCloseDisplay);
    if (!display)
        return {};
    const auto property = [&](Window window, const char* name) {
        Atom type = 0;
        int format = 0;
        unsigned long items = 0;
        unsigned long remaining = 0;
        unsigned char* data = nullptr;
        std::vector<unsigned long> values;
        if (XGetWindowProperty(display.get(), window, XInternAtom(display.get(), name, False), 0, 1 << 20, False,
                               AnyPropertyType, &type, &format, &items, &remaining, &data) == Success &&
            data) {
            if (format == 32)
                values.assign(reinterpret_cast<unsigned long*>(data), reinterpret_cast<unsigned long*>(data) + items);
            XFree(data);
        }
        return values;
    };
    const unsigned long pid = static_cast<unsigned long>(program.processId());
    while (program.state() == QProcess::Running) {
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        XQueryTree(display.get(), DefaultRootWindow(display.get()), &root, &parent, &children, &count);
        std::vector<unsigned long> icon;
        for (unsigned int i = 0; i < count && icon.empty(); ++i)
            if (property(children[i], "_NET_WM_PID") == std::vector<unsigned long>{pid})
                icon = property(children[i], "_NET_WM_ICON");
        if (children)
            XFree(children);
        std::map<int, std::vector<unsigned long>> icons;
        for (std::size_t at = 0; at + 2 <= icon.size() && icon[at] * icon[at + 1] <= icon.size() - at - 2;
             at += 2 + icon[at] * icon[at + 1])
            icons[static_cast<int>(icon[at])].assign(icon.begin() + at + 2,
                                                     icon.begin() + at + 2 + icon[at] * icon[at + 1]);
        if (!icons.empty())
            return icons;
        program.waitForFinished(20);
    }
    return {};
}

// Starts the program below `prefix` from / as a player would, with a home of its own, and
// checks what it shows and writes: the churchyard, its own window icon, the default thresholds
// and the six sample files in `userFolder`, nothing in / or in the prefix.
void ExpectAPlayerRun(const QString& prefix, const QProcessEnvironment& environment, const QString& userFolder)
{
    QTemporaryDir pictures;
    // The entries of / only: other programs write below it all the time.
    const QStringList rootBefore = QDir("/").entryList(QDir::AllEntries | QDir::Hidden | QDir::System);
    const auto prefixBefore = Snapshot(prefix);
    QProcess program;
    program.setWorkingDirectory("/");
    QProcessEnvironment player = environment;
    player.insert("ALSOFT_DRIVERS", "null");
    // "Ninguna (solo teclas)" chosen: no camera is opened, whatever the machine has.
    player.remove("BRUMARIA_CAMERA");
    player.remove("XDG_CONFIG_HOME");
    const QString settings = player.value("HOME") + "/.config/brumaria/brumaria.conf";
    ASSERT_TRUE(QDir().mkpath(QFileInfo(settings).path()));
    QFile choice(settings);
    ASSERT_TRUE(choice.open(QIODevice::WriteOnly));
    ASSERT_GT(choice.write("[webcam]\ndispositivo=ninguna\n"), 0);
    choice.close();
    program.setProcessEnvironment(player);
    program.start(
        prefix + "/bin/brumaria",
        {"--start", "--frames", "50", "--screenshot", pictures.filePath("escena.png"), "--messages-on-stderr"});
    ASSERT_TRUE(program.waitForStarted());
    const std::map<int, std::vector<unsigned long>> icons = WindowIcons(program);
    ASSERT_TRUE(program.waitForFinished(120000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    const QByteArray error = program.readAllStandardError();
    EXPECT_FALSE(("\n" + error).contains("\n[")) << "no message expected: " << error.data();

    // The window carries the installed icon at every size.
    for (const int size : kIconSizes) {
        const QImage installed(QString("%1/share/icons/hicolor/%2x%2/apps/brumaria.png").arg(prefix).arg(size));
        ASSERT_EQ(icons.count(size), 1u) << size;
        EXPECT_EQ(icons.at(size)[size / 2 * size + size / 2] & 0xFFFFFFFF, installed.pixel(size / 2, size / 2)) << size;
    }

    // The churchyard: many colours, the ground in the lower half rather than the background grey.
    const QImage image(pictures.filePath("escena.png"));
    ASSERT_EQ(image.size(), QSize(640, 480));
    std::set<QRgb> colours;
    int greyBelow = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2) {
            const QRgb pixel = image.pixel(x, y) & 0xFFFFFF;
            colours.insert(pixel);
            greyBelow += y >= image.height() / 2 && pixel == 0xAAAAAA;
        }
    EXPECT_GT(colours.size(), 500u);
    EXPECT_LT(greyBelow, 320 * 120 / 10);

    EXPECT_EQ(Read(userFolder + "/configuracion"),
              QByteArray("Distancia X:20\nDistancia Y:20\nDistancia Z:20\n"
                         "Angulo GiroX:3\nAngulo GiroY Arriba:10\n"
                         "Angulo GiroY Abajo:-1\nAngulo GiroZ:10\n"));
    for (const auto& [file, name] : kSampleFileNames)
        EXPECT_EQ(OctaveSampleFile::Parse(Read(userFolder + "/" + file).toStdString(), name).error, "") << file;
    EXPECT_EQ(rootBefore, QDir("/").entryList(QDir::AllEntries | QDir::Hidden | QDir::System)) << "written into /";
    EXPECT_EQ(prefixBefore, Snapshot(prefix)) << "written into the prefix";
}

// A temporary root with the build installed below /usr, and a home for the player.
class InstalledProgram : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        ASSERT_TRUE(m_home.isValid());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("DESTDIR", m_root.path());
        const Finished install =
            RunProgram(CMAKE_COMMAND, {"--install", BRUMARIA_BINARY_DIR, "--prefix", "/usr"}, "/", environment);
        ASSERT_EQ(install.exitCode, 0) << install.output.data() << install.error.data();
    }

    QString Installed(const QString& path) const { return m_root.path() + "/usr/" + path; }

    QTemporaryDir m_root;
    QTemporaryDir m_home;
};

TEST_F(InstalledProgram, RunsFromAnyFolderAndWritesOnlyInThePlayersFolder)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", m_home.path());
    environment.insert("XDG_DATA_HOME", m_home.filePath("datos"));
    ExpectAPlayerRun(m_root.path() + "/usr", environment, m_home.filePath("datos/brumaria"));
}

// The installed tools from / as well: a short head video made from a photo, replayed with the
// player's own thresholds and sample files.
TEST_F(InstalledProgram, TheToolsRunFromAnyFolderWithThePlayersFiles)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", m_home.path());
    const QString userFolder = m_home.filePath(".local/share/brumaria");
    ASSERT_TRUE(QDir().mkpath(userFolder));
    const QByteArray thresholds = "Distancia X:35\nDistancia Y:20\nDistancia Z:20\nAngulo GiroX:3\n"
                                  "Angulo GiroY Arriba:10\nAngulo GiroY Abajo:-1\nAngulo GiroZ:10\n";
    QFile file(userFolder + "/configuracion");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(thresholds), thresholds.size());
    file.close();
    const QStringList rootBefore = QDir("/").entryList(QDir::AllEntries | QDir::Hidden | QDir::System);

    const QString video = m_home.filePath("cabeza.avi");
    const Finished made = RunProgram(
        Installed("bin/brumaria-headvideo"),
        {BRUMARIA_SOURCE_DIR "/tests/data/astronaut.png", video, "--script", "still:10,left:60"}, "/", environment);
    ASSERT_EQ(made.exitCode, 0) << made.error.data();
    const Finished replayed = RunProgram(Installed("bin/brumaria-replay"), {video}, "/", environment);
    ASSERT_EQ(replayed.exitCode, 0) << replayed.error.data();
    EXPECT_TRUE(replayed.output.contains("tracking")) << replayed.output.data();

    EXPECT_EQ(Read(userFolder + "/configuracion"), thresholds);
    for (const auto& [name, series] : kSampleFileNames)
        EXPECT_EQ(OctaveSampleFile::Parse(Read(userFolder + "/" + name).toStdString(), series).error, "") << name;
    EXPECT_EQ(rootBefore, QDir("/").entryList(QDir::AllEntries | QDir::Hidden | QDir::System)) << "written into /";
}

TEST_F(InstalledProgram, LauncherMetainfoIconsAndManualPagesAreInPlace)
{
    const Finished launcher = RunProgram("desktop-file-validate", {Installed("share/applications/brumaria.desktop")});
    EXPECT_EQ(launcher.exitCode, 0);
    EXPECT_EQ(launcher.output + launcher.error, "") << "warnings";
    const QByteArray entry = Read(Installed("share/applications/brumaria.desktop"));
    EXPECT_TRUE(entry.contains("\nExec=brumaria\n")) << entry.data();
    EXPECT_TRUE(entry.contains("\nIcon=brumaria\n")) << entry.data();
    EXPECT_TRUE(QFileInfo(Installed("bin/brumaria")).isExecutable());

    const Finished metainfo = RunProgram(
        "appstreamcli", {"validate", "--no-net", Installed("share/metainfo/io.github.brumaria.Brumaria.metainfo.xml")});
    EXPECT_EQ(metainfo.exitCode, 0) << metainfo.output.data() << metainfo.error.data();

    for (const int size : kIconSizes) {
        const QImage icon(Installed(QString("share/icons/hicolor/%1x%1/apps/brumaria.png").arg(size)));
        EXPECT_EQ(icon.size(), QSize(size, size));
        EXPECT_TRUE(icon.hasAlphaChannel()) << size;
    }

    for (const QString page : {"brumaria.6.gz", "brumaria-replay.6.gz", "brumaria-headvideo.6.gz"}) {
        const Finished text = RunProgram("gzip", {"-dc", Installed("share/man/man6/" + page)});
        EXPECT_EQ(text.exitCode, 0) << page.toStdString();
        EXPECT_TRUE(text.output.startsWith(".TH BRUMARIA")) << page.toStdString();
        EXPECT_FALSE(text.output.contains('@')) << page.toStdString();
    }
}

// Every file of data/, installed as it is.
TEST_F(InstalledProgram, TheContentIsInstalledWhole)
{
    const QDir data(BRUMARIA_SOURCE_DIR "/data");
    int files = 0;
    for (QDirIterator it(data.path(), QDir::Files, QDirIterator::Subdirectories); it.hasNext(); ++files) {
        const QString name = data.relativeFilePath(it.next());
        EXPECT_EQ(Read(Installed("share/brumaria/" + name)), Read(data.filePath(name))) << name.toStdString();
    }
    EXPECT_GT(files, 40);
}

// The package, built from this build, lists what a desktop needs and depends on what the
// programs load; unpacked, it runs as installed.
TEST(DebianPackage, HoldsTheProgramsAndTheirContentDependsOnTheirLibrariesAndRuns)
{
    QTemporaryDir output;
    const Finished packed = RunProgram(
        CPACK_COMMAND, {"-G", "DEB", "--config", BRUMARIA_BINARY_DIR "/CPackConfig.cmake", "-B", output.path()});
    ASSERT_EQ(packed.exitCode, 0) << packed.output.data() << packed.error.data();
    const QStringList packages = QDir(output.path()).entryList({"brumaria_*.deb"});
    ASSERT_EQ(packages.size(), 1) << packed.output.data();
    const QString package = output.filePath(packages.front());

    std::set<QString> listed;
    for (const QByteArray& line : RunProgram("dpkg-deb", {"--contents", package}).output.split('\n'))
        if (!line.isEmpty() && !line.endsWith('/'))
            listed.insert(QString(line.split(' ').last()));
    std::set<QString> expected = {"./usr/bin/brumaria",
                                  "./usr/bin/brumaria-replay",
                                  "./usr/bin/brumaria-headvideo",
                                  "./usr/share/applications/brumaria.desktop",
                                  "./usr/share/metainfo/io.github.brumaria.Brumaria.metainfo.xml",
                                  "./usr/share/man/man6/brumaria.6.gz",
                                  "./usr/share/man/man6/brumaria-replay.6.gz",
                                  "./usr/share/man/man6/brumaria-headvideo.6.gz"};
    for (const int size : kIconSizes)
        expected.insert(QString("./usr/share/icons/hicolor/%1x%1/apps/brumaria.png").arg(size));
    const QDir data(BRUMARIA_SOURCE_DIR "/data");
    for (QDirIterator it(data.path(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        expected.insert("./usr/share/brumaria/" + data.relativeFilePath(it.next()));
    EXPECT_EQ(listed, expected);

    const Finished fields = RunProgram("dpkg-deb", {"--field", package, "Section", "Depends"});
    EXPECT_TRUE(fields.output.startsWith("Section: games\n")) << fields.output.data();
    for (const char* dependency : {"opencv-data", "fonts-liberation", "qttranslations5-l10n", "libqt5widgets5",
                                   "libopenal1", "libassimp5", "libopencv-objdetect", "libc6"})
        EXPECT_TRUE(fields.output.contains(dependency)) << dependency << " not in " << fields.output.data();

    QTemporaryDir root;
    QTemporaryDir home;
    ASSERT_EQ(RunProgram("dpkg", {"-x", package, root.path()}).exitCode, 0);
    // Without XDG_DATA_HOME: the folder below the home.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", home.path());
    environment.remove("XDG_DATA_HOME");
    ExpectAPlayerRun(root.path() + "/usr", environment, home.filePath(".local/share/brumaria"));
}

TEST(NoContent, TheProgramNamesTheFoldersItSearchedAndEnds)
{
    QTemporaryDir empty;
    const Finished run = RunProgram(BRUMARIA_PROGRAM, {"--start", "--messages-on-stderr"}, empty.path());
    EXPECT_EQ(run.exitCode, 1);
    const QString installed = QDir::cleanPath(QFileInfo(BRUMARIA_PROGRAM).canonicalPath() + "/../share/brumaria");
    const QString message =
        "[Brumaria] No se encuentra el contenido del programa (las carpetas modelos, texturas y snd y "
        "la imagen intro). Carpetas buscadas:\n" +
        empty.path() + "\n" + installed + "\n";
    EXPECT_TRUE(run.error.endsWith(message.toUtf8())) << run.error.data();
    EXPECT_EQ(run.error.count("\n["), run.error.startsWith('[') ? 0 : 1) << "one message: " << run.error.data();
    EXPECT_EQ(QDir(empty.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList())
        << "nothing written";
}

}  // namespace
