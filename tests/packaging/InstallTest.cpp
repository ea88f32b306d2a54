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

#include <fstream>
#include <map>
#include <set>

namespace {

const int kIconSizes[] = {16, 32, 48, 64, 128, 256};
// Each is installed with its manual page.
const QString kPrograms[] = {"brumaria", "brumaria-replay", "brumaria-headvideo"};

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
    const bool ended = process.waitForFinished(300000) && process.exitStatus() == QProcess::NormalExit;
    if (!ended) {
        process.kill();
        process.waitForFinished();
    }
    return {ended ? process.exitCode() : -1, process.readAllStandardOutput(), process.readAllStandardError()};
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
        const QFileInfo entry(it.next());
        entries[entry.filePath()] = QString("%1 %2").arg(entry.size()).arg(entry.lastModified().toMSecsSinceEpoch());
    }
    return entries;
}

// Starts the program below `prefix` from / as a player would, with a home of its own: it plays
// with every model and picture found (no message) and shows the churchyard, writes the default
// thresholds and the six sample files in `userFolder`, and nothing in / or in the prefix.
void ExpectAPlayerRun(const QString& prefix, QProcessEnvironment player, const QString& userFolder)
{
    // The entries of / only: other programs write below it all the time.
    const QStringList rootBefore = QDir("/").entryList(QDir::AllEntries | QDir::Hidden | QDir::System);
    const auto prefixBefore = Snapshot(prefix);
    player.insert("ALSOFT_DRIVERS", "null");
    // "Ninguna (solo teclas)" chosen: no camera is opened, whatever the machine has.
    player.remove("BRUMARIA_CAMERA");
    player.remove("XDG_CONFIG_HOME");
    const QString home = player.value("HOME");
    ASSERT_TRUE(QDir().mkpath(home + "/.config/brumaria"));
    ASSERT_TRUE(std::ofstream((home + "/.config/brumaria/brumaria.conf").toStdString())
                << "[webcam]\ndispositivo=ninguna\n");
    const QString screenshot = home + "/vista.png";
    const Finished run =
        RunProgram(prefix + "/bin/brumaria",
                   {"--start", "--frames", "50", "--screenshot", screenshot, "--messages-on-stderr"}, "/", player);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_FALSE(("\n" + run.error).contains("\n[")) << "no message expected: " << run.error.data();
    // Textured models give thousands of colours; a view without them a handful.
    const QImage view(screenshot);
    ASSERT_EQ(view.size(), QSize(640, 480));
    std::set<QRgb> colours;
    for (int y = 0; y < view.height(); y += 2)
        for (int x = 0; x < view.width(); x += 2)
            colours.insert(view.pixel(x, y));
    EXPECT_GT(colours.size(), 1000u) << "not the churchyard";
    EXPECT_EQ(Read(userFolder + "/configuracion"),
              QByteArray("Distancia X:20\nDistancia Y:20\nDistancia Z:20\n"
                         "Angulo GiroX:3\nAngulo GiroY Arriba:10\n"
                         "Angulo GiroY Abajo:-1\nAngulo GiroZ:10\n"));
    for (const auto& [file, name] : kSampleFileNames)
        EXPECT_EQ(OctaveSampleFile::Parse(Read(userFolder + "/" + file).toStdString(), name).error, "") << file;
    EXPECT_EQ(rootBefore, QDir("/").entryList(QDir::AllEntries | QDir::Hidden | QDir::System)) << "written into /";
    EXPECT_EQ(prefixBefore, Snapshot(prefix)) << "written into the prefix";
}

// The build installed into a temporary root below /usr: the launcher, the metainfo, the icons and
// the manual pages in place; from / with a home of their own, the program plays and the tools make
// a short head video from a photo and replay it, all with the player's own files.
TEST(InstalledProgram, HasItsDesktopFilesAndItsProgramsRunFromAnyFolderWithThePlayersFiles)
{
    QTemporaryDir root;
    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DESTDIR", root.path());
    const Finished install =
        RunProgram(CMAKE_COMMAND, {"--install", BRUMARIA_BINARY_DIR, "--prefix", "/usr"}, "/", environment);
    ASSERT_EQ(install.exitCode, 0) << install.output.data() << install.error.data();
    const auto installed = [&root](const QString& path) { return root.path() + "/usr/" + path; };

    const Finished launcher = RunProgram("desktop-file-validate", {installed("share/applications/brumaria.desktop")});
    EXPECT_EQ(launcher.exitCode, 0);
    EXPECT_EQ(launcher.output + launcher.error, "") << "warnings";
    const QByteArray entry = Read(installed("share/applications/brumaria.desktop"));
    EXPECT_TRUE(entry.contains("\nExec=brumaria\n")) << entry.data();
    EXPECT_TRUE(entry.contains("\nIcon=brumaria\n")) << entry.data();
    const Finished metainfo = RunProgram(
        "appstreamcli", {"validate", "--no-net", installed("share/metainfo/io.github.brumaria.Brumaria.metainfo.xml")});
    EXPECT_EQ(metainfo.exitCode, 0) << metainfo.output.data() << metainfo.error.data();
    // (Their pixels, transparent corners included: IconRegenerationTest.)
    for (const int size : kIconSizes)
        EXPECT_EQ(QImage(installed(QString("share/icons/hicolor/%1x%1/apps/brumaria.png").arg(size))).size(),
                  QSize(size, size));
    for (const QString& program : kPrograms) {
        const Finished text = RunProgram("gzip", {"-dc", installed("share/man/man6/" + program + ".6.gz")});
        EXPECT_EQ(text.exitCode, 0) << program.toStdString();
        EXPECT_TRUE(text.output.startsWith(".TH BRUMARIA")) << program.toStdString();
        EXPECT_FALSE(text.output.contains('@')) << program.toStdString();
    }

    // The player's files in XDG_DATA_HOME (without it, below the home: the package's run).
    environment.remove("DESTDIR");
    environment.insert("HOME", home.path());
    environment.insert("XDG_DATA_HOME", home.filePath("datos"));
    const QString userFolder = home.filePath("datos/brumaria");
    ExpectAPlayerRun(root.path() + "/usr", environment, userFolder);
    // The tools write their own.
    ASSERT_TRUE(QDir(userFolder).removeRecursively());
    const QStringList rootBefore = QDir("/").entryList(QDir::AllEntries | QDir::Hidden | QDir::System);
    const QString video = home.filePath("cabeza.avi");
    const Finished made = RunProgram(
        installed("bin/brumaria-headvideo"),
        {BRUMARIA_SOURCE_DIR "/tests/data/astronaut.png", video, "--script", "still:10,left:60"}, "/", environment);
    ASSERT_EQ(made.exitCode, 0) << made.error.data();
    const Finished replayed = RunProgram(installed("bin/brumaria-replay"), {video}, "/", environment);
    ASSERT_EQ(replayed.exitCode, 0) << replayed.error.data();
    EXPECT_TRUE(replayed.output.contains("tracking")) << replayed.output.data();
    EXPECT_TRUE(QFileInfo(userFolder + "/configuracion").isFile());
    for (const auto& [name, series] : kSampleFileNames)
        EXPECT_EQ(OctaveSampleFile::Parse(Read(userFolder + "/" + name).toStdString(), series).error, "") << name;
    EXPECT_EQ(rootBefore, QDir("/").entryList(QDir::AllEntries | QDir::Hidden | QDir::System)) << "written into /";
}

// The package, built from this build, lists what a desktop needs and depends on what the
// programs load; unpacked, the program runs as installed, its files below the home when no
// XDG_DATA_HOME is set.
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
    std::set<QString> expected = {"./usr/share/applications/brumaria.desktop",
                                  "./usr/share/metainfo/io.github.brumaria.Brumaria.metainfo.xml"};
    for (const QString& program : kPrograms)
        expected.insert({"./usr/bin/" + program, "./usr/share/man/man6/" + program + ".6.gz"});
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
    QProcessEnvironment player = QProcessEnvironment::systemEnvironment();
    player.insert("HOME", home.path());
    player.remove("XDG_DATA_HOME");
    ExpectAPlayerRun(root.path() + "/usr", player, home.filePath(".local/share/brumaria"));
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
