#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>
#include <opencv2/videoio.hpp>

#include <fstream>
#include <regex>
#include <sstream>

namespace {

constexpr const char* kDemoVideo = BRUMARIA_SOURCE_DIR "/data/demo/paseo.avi";

// The program in a folder that links the content of data/, as tools/demo.sh runs it; its exit
// code (-1 when it had to be killed) and how long it ran.
std::pair<int, qint64> RunDemo(const QTemporaryDir& folder, const QStringList& extra, const QString& video = kDemoVideo)
{
    const QDir data(QStringLiteral(BRUMARIA_SOURCE_DIR "/data"));
    for (const QString& entry : data.entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
        QFile::link(data.filePath(entry), folder.filePath(entry));
    QProcess process;
    process.setProcessEnvironment([] {
        auto e = QProcessEnvironment::systemEnvironment();
        e.insert("ALSOFT_DRIVERS", "null");
        return e;
    }());
    process.setWorkingDirectory(folder.path());
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer clock;
    clock.start();
    process.start(BRUMARIA_PROGRAM, QStringList{"--video", video, "--start", "--messages-on-stderr"} + extra);
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        return {-1, clock.elapsed()};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, clock.elapsed()};
}

// Black pixels next to white ones: the feature marks drawn on "Imagen" (thin black inside a wide
// white border), which a camera picture hardly ever has.
int MarkPixels(const cv::Mat& picture)
{
    cv::Mat black, white, whiteNear;
    cv::inRange(picture, cv::Scalar(0, 0, 0), cv::Scalar(0, 0, 0), black);
    cv::inRange(picture, cv::Scalar(255, 255, 255), cv::Scalar(255, 255, 255), white);
    cv::dilate(white, whiteNear, cv::getStructuringElement(cv::MORPH_CROSS, {3, 3}));
    return cv::countNonZero(black & whiteNear);
}

}  // namespace

// A few seconds of the demo with every tracker window and the Gráficas: the scene and the windows'
// last pictures are saved, "Imagen" with the feature marks, the values panel with its nine lines, and the
// side-steps to the right (the head moved left) among the completed samples.
TEST(DemoProgram, PlaysTheDemoWithEveryTrackerWindowAndSavesWhatTheyShow)
{
    QTemporaryDir folder;
    ASSERT_EQ(
        RunDemo(folder, {"--views", "--frames", "300", "--screenshot", "escena.png", "--view-screenshots", "vistas"})
            .first,
        0);
    auto picture = [&](const char* file) {
        return cv::imread(folder.filePath(file).toStdString(), cv::IMREAD_UNCHANGED);
    };
    EXPECT_EQ(picture("escena.png").size(), cv::Size(640, 480));
    EXPECT_EQ(picture("vistas/Frame.png").size(), cv::Size(400, 280));
    EXPECT_EQ(picture("vistas/Frame B.png").size(), cv::Size(400, 370));
    EXPECT_FALSE(picture("vistas/Gráficas.png").empty());
    const cv::Mat image = picture("vistas/Imagen.png");
    ASSERT_EQ(image.size(), cv::Size(640, 480));
    cv::Mat plain;
    ASSERT_TRUE(cv::VideoCapture(kDemoVideo).read(plain));
    EXPECT_LT(MarkPixels(plain), 5);
    EXPECT_GT(MarkPixels(image), 100);
    const cv::Mat values = picture("vistas/Parámetros.png");
    ASSERT_EQ(values.size(), cv::Size(500, 270));
    ASSERT_EQ(values.type(), CV_8UC1);
    for (int baseline = 20; baseline <= 260; baseline += 30)
        EXPECT_GT(cv::countNonZero(values.rowRange(baseline - 12, baseline) == 255), 100) << "line at " << baseline;
    std::ostringstream sideways;
    sideways << std::ifstream(folder.filePath("muestrasPosX.m").toStdString()).rdbuf();
    EXPECT_EQ(sideways.str().rfind("movX =[0,", 0), 0u);
    EXPECT_NE(sideways.str().find("]\nmovX = [(1:columns(movX)); movX]'"), std::string::npos);
    EXPECT_TRUE(std::regex_search(sideways.str(), std::regex(",[1-9]"))) << sideways.str();
}

// Two seconds of video without a face: the program ends with it, not at the test's timeout.
TEST(DemoProgram, EndsWithTheVideoWhenAsked)
{
    QTemporaryDir folder;
    const QString video = folder.filePath("pared.avi");
    {
        cv::VideoWriter writer(video.toStdString(), cv::VideoWriter::fourcc('M', 'J', 'P', 'G'), 25.0,
                               cv::Size(320, 240));
        ASSERT_TRUE(writer.isOpened());
        for (int i = 0; i < 50; ++i)
            writer.write(cv::Mat(240, 320, CV_8UC3, cv::Scalar(40, 90 + i, 160)));
    }
    const auto [exitCode, elapsed] = RunDemo(folder, {"--quit-at-video-end"}, video);
    EXPECT_EQ(exitCode, 0);
    EXPECT_GE(elapsed, 2000);
    EXPECT_LT(elapsed, 60000);
}
