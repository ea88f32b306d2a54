#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>

namespace {

struct ProgramRun {
    int exitCode = -1;
    bool finished = false;
    std::string out;
    std::string err;
};

// Runs the program in `folder` with the given arguments and OpenAL driver setting.
ProgramRun RunProgram(const QString& folder, const QStringList& arguments, const QString& alsoftDrivers = "null",
               int timeoutMs = 120000)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("ALSOFT_DRIVERS", alsoftDrivers);
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    process.start(BRUMARIA_PROGRAM, arguments);
    ProgramRun run;
    run.finished = process.waitForFinished(timeoutMs);
    if (!run.finished) {
        process.kill();
        process.waitForFinished();
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput().toStdString();
    run.err = process.readAllStandardError().toStdString();
    return run;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end - start));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return lines;
}

// A folder with the program's content: the data folder's entries linked in.
void LinkContent(const QString& folder)
{
    const QDir data(QStringLiteral(BRUMARIA_SOURCE_DIR "/data"));
    for (const QString& entry : data.entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
        QFile::link(data.filePath(entry), QDir(folder).filePath(entry));
}

TEST(ProgramTest, HelpShowsTheOptions)
{
    const ProgramRun run = RunProgram(QDir::tempPath(), {"--help"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.out.find("--screenshot FILE"), std::string::npos);
}

TEST(ProgramTest, AnUnknownOptionIsAnErrorWithTheUsage)
{
    const ProgramRun run = RunProgram(QDir::tempPath(), {"--start", "--turbo"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("unknown option: --turbo"), std::string::npos);
    EXPECT_NE(run.err.find("Usage: brumaria"), std::string::npos);
}

TEST(ProgramTest, WithoutSoundTheProgramEndsAfterTheSoundMessages)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    LinkContent(folder.path());
    const ProgramRun run = RunProgram(folder.path(), {"--start", "--messages-on-stderr"}, "nonexistent");
    ASSERT_TRUE(run.finished);
    EXPECT_NE(run.exitCode, 0);
    const std::vector<std::string> lines = Lines(run.err);
    ASSERT_GE(lines.size(), 3u) << run.err;
    EXPECT_EQ(lines[lines.size() - 3], "[Error!] SoundPlugin ERROR: no se pudo obtener la interfaz IDirectSound");
    EXPECT_EQ(lines[lines.size() - 2], "[Error!] Error en fijar IDirectSound");
    EXPECT_EQ(lines[lines.size() - 1], "[Brumaria] No se puede inicializar los sonidos");
}

TEST(ProgramTest, MissingClipsEndTheProgramWithTheSoundMessage)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const ProgramRun run = RunProgram(folder.path(), {"--messages-on-stderr"});
    ASSERT_TRUE(run.finished);
    EXPECT_NE(run.exitCode, 0);
    const std::vector<std::string> lines = Lines(run.err);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "[Brumaria] No se puede inicializar los sonidos");
}

TEST(ProgramTest, TwoHundredFramesOfPlayShowTheChurchyard)
{
    if (!QFile::exists(QStringLiteral(BRUMARIA_SOURCE_DIR "/data/modelos")))
        GTEST_SKIP() << "no models in data/";
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    LinkContent(folder.path());
    const QString screenshot = QDir(folder.path()).filePath("frame.png");
    const ProgramRun run = RunProgram(folder.path(), {"--start", "--stats", "--frames", "200", "--screenshot", screenshot,
                                               "--messages-on-stderr"});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    for (const std::string& line : Lines(run.err))
        EXPECT_NE(line.rfind('[', 0), 0u) << "no message expected: " << line;

    const QImage image(screenshot);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(640, 480));
    // The churchyard: walls, ground and sky in many colours, the red overlay text on top.
    // The ground fills the lower half, where an empty scene would show the background grey.
    std::set<QRgb> colours;
    int red = 0;
    int backgroundBelow = 0;
    int samplesBelow = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2) {
            const QRgb pixel = image.pixel(x, y) & 0xFFFFFF;
            colours.insert(pixel);
            if (y < 60 && qRed(pixel) > 200 && qGreen(pixel) < 60 && qBlue(pixel) < 60)
                ++red;
            if (y >= image.height() / 2) {
                ++samplesBelow;
                backgroundBelow += pixel == 0xAAAAAA;
            }
        }
    EXPECT_GT(colours.size(), 500u);
    EXPECT_GT(red, 20);
    EXPECT_LT(backgroundBelow, samplesBelow / 10);
}

}  // namespace
