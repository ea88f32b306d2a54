#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/videoio.hpp>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>

namespace {

constexpr const char* kDemoVideo = BRUMARIA_SOURCE_DIR "/data/demo/paseo.avi";

struct ProgramRun {
    bool finished = false;
    int exitCode = -1;
    qint64 elapsedMs = 0;
    std::string err;
};

// The program in `folder`, which links the content of data/, as tools/demo.sh runs it.
ProgramRun RunDemo(const QString& folder, const QStringList& extra, const QString& video = kDemoVideo)
{
    const QDir data(QStringLiteral(BRUMARIA_SOURCE_DIR "/data"));
    for (const QString& entry : data.entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
        QFile::link(data.filePath(entry), QDir(folder).filePath(entry));
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("ALSOFT_DRIVERS", "null");
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    QElapsedTimer clock;
    clock.start();
    process.start(BRUMARIA_PROGRAM,
                  QStringList{"--video", video, "--start", "--messages-on-stderr"} + extra);
    ProgramRun run;
    run.finished = process.waitForFinished(120000);
    run.elapsedMs = clock.elapsed();
    if (!run.finished) {
        process.kill();
        process.waitForFinished();
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.err = process.readAllStandardError().toStdString();
    return run;
}

std::string Read(const QString& file)
{
    std::ifstream in(file.toStdString());
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Black pixels next to white ones: the feature marks drawn on "Imagen" (thin black inside a
// wide white border), which a camera picture hardly ever has.
int MarkPixels(const cv::Mat& picture)
{
    const cv::Vec3b black(0, 0, 0);
    const cv::Vec3b white(255, 255, 255);
    int count = 0;
    for (int y = 1; y + 1 < picture.rows; ++y)
        for (int x = 1; x + 1 < picture.cols; ++x) {
            if (picture.at<cv::Vec3b>(y, x) != black)
                continue;
            for (const cv::Point step : {cv::Point(1, 0), cv::Point(-1, 0), cv::Point(0, 1), cv::Point(0, -1)})
                if (picture.at<cv::Vec3b>(cv::Point(x, y) + step) == white) {
                    ++count;
                    break;
                }
        }
    return count;
}

TEST(DemoProgram, PlaysTheDemoWithEveryTrackerWindowAndSavesWhatTheyShow)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QDir out(folder.path());
    // A few seconds of the video: the face is found, then moves to the side.
    const ProgramRun run = RunDemo(folder.path(), {"--views", "--frames", "300", "--screenshot", "escena.png",
                                                   "--view-screenshots", "vistas"});
    ASSERT_TRUE(run.finished);
    ASSERT_EQ(run.exitCode, 0) << run.err;

    EXPECT_EQ(cv::imread(out.filePath("escena.png").toStdString()).size(), cv::Size(640, 480));
    EXPECT_EQ(QDir(out.filePath("vistas")).entryList(QDir::Files).size(), 4);

    const cv::Mat image = cv::imread(out.filePath("vistas/Imagen.png").toStdString(), cv::IMREAD_UNCHANGED);
    ASSERT_EQ(image.size(), cv::Size(640, 480));
    cv::VideoCapture video(kDemoVideo);
    cv::Mat plain;
    ASSERT_TRUE(video.read(plain));
    EXPECT_LT(MarkPixels(plain), 5);
    EXPECT_GT(MarkPixels(image), 100);

    const cv::Mat frameA = cv::imread(out.filePath("vistas/Frame.png").toStdString(), cv::IMREAD_UNCHANGED);
    EXPECT_EQ(frameA.size(), cv::Size(400, 280));
    const cv::Mat frameB = cv::imread(out.filePath("vistas/Frame B.png").toStdString(), cv::IMREAD_UNCHANGED);
    EXPECT_EQ(frameB.size(), cv::Size(400, 370));
    // The values panel: white text on each of its nine lines.
    const cv::Mat values = cv::imread(out.filePath("vistas/Parámetros.png").toStdString(), cv::IMREAD_UNCHANGED);
    ASSERT_EQ(values.size(), cv::Size(500, 270));
    ASSERT_EQ(values.type(), CV_8UC1);
    for (int baseline = 20; baseline <= 260; baseline += 30)
        EXPECT_GT(cv::countNonZero(values.rowRange(baseline - 12, baseline) == 255), 100) << "line at " << baseline;

    // The head moved left in the picture: side-steps to the right among the samples, completed
    // at the end.
    const std::string sideways = Read(out.filePath("muestrasPosX.m"));
    EXPECT_EQ(sideways.rfind("movX =[0,", 0), 0u);
    EXPECT_NE(sideways.find("]\nmovX = [(1:columns(movX)); movX]'"), std::string::npos);
    EXPECT_TRUE(std::regex_search(sideways, std::regex(",[1-9]"))) << sideways;
}

TEST(DemoProgram, WithoutViewsOnlyTheCameraWindowIsPictured)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const ProgramRun run = RunDemo(folder.path(), {"--frames", "100", "--view-screenshots", "vistas"});
    ASSERT_TRUE(run.finished);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    // "Imagen" opens with play; the others only when asked for.
    EXPECT_EQ(QDir(QDir(folder.path()).filePath("vistas")).entryList(QDir::Files).join(' ').toStdString(),
              "Imagen.png");
}

TEST(DemoProgram, EndsWithTheVideoWhenAsked)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    // Two seconds of video without a face.
    const QString video = QDir(folder.path()).filePath("pared.avi");
    {
        cv::VideoWriter writer(video.toStdString(), cv::VideoWriter::fourcc('M', 'J', 'P', 'G'), 25.0, cv::Size(320, 240));
        ASSERT_TRUE(writer.isOpened());
        for (int i = 0; i < 50; ++i)
            writer.write(cv::Mat(240, 320, CV_8UC3, cv::Scalar(40, 90 + i, 160)));
    }
    const ProgramRun run = RunDemo(folder.path(), {"--quit-at-video-end"}, video);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_GE(run.elapsedMs, 2000);
    // The program does not wait for the test's timeout.
    EXPECT_LT(run.elapsedMs, 60000);
}

}  // namespace
