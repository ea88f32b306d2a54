#include "tracking/DebugWindowRecorder.h"
#include "tracking/highgui/DebugWindowPictures.h"
#include "tests/tracking/TemporaryFolder.h"

#include <gtest/gtest.h>
#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>

#include <filesystem>
#include <fstream>

namespace {

bool Same(const cv::Mat& a, const cv::Mat& b)
{
    return a.size() == b.size() && a.type() == b.type() && cv::norm(a, b, cv::NORM_INF) == 0.0;
}

TEST(DebugWindowPictures, PassesEveryCallOnAndKeepsTheLastImageOfEachOpenWindow)
{
    DebugWindowRecorder shown;
    DebugWindowPictures pictures(shown);
    pictures.Create("Frame");
    cv::Mat canvas(4, 6, CV_8UC3, cv::Scalar(10, 20, 30));
    pictures.Show("Imagen", canvas);
    const cv::Mat first = canvas.clone();
    // The tracker draws the next frame into the same canvas.
    canvas.setTo(cv::Scalar(200, 100, 0));
    EXPECT_TRUE(Same(pictures.Images().at("Imagen"), first));
    pictures.Show("Imagen", canvas);
    pictures.Show("Frame B", cv::Mat(3, 3, CV_8UC3, cv::Scalar(1, 2, 3)));
    pictures.Destroy("Frame B");

    ASSERT_EQ(shown.Calls().size(), 5u);
    EXPECT_EQ(shown.Calls()[0].action, DebugWindowRecorder::Action::Create);
    EXPECT_EQ(shown.Calls()[4].action, DebugWindowRecorder::Action::Destroy);
    EXPECT_EQ(shown.Calls()[4].name, "Frame B");
    ASSERT_EQ(shown.Shown("Imagen").size(), 2u);
    EXPECT_TRUE(Same(shown.Shown("Imagen")[1], canvas));

    // A created window with nothing shown, and a destroyed one, have no picture.
    ASSERT_EQ(pictures.Images().size(), 1u);
    EXPECT_TRUE(Same(pictures.Images().at("Imagen"), canvas));
}

TEST(DebugWindowPictures, SavesEachPictureAsTheWindowShowsIt)
{
    TemporaryFolder folder;
    DebugWindowRecorder shown;
    DebugWindowPictures pictures(shown);
    const cv::Mat frame(48, 64, CV_8UC3, cv::Scalar(0, 128, 255));
    pictures.Show("Imagen", frame);
    pictures.Show("Frame B", cv::Mat(37, 40, CV_8UC3, cv::Scalar(9, 9, 9)));
    // The values panel: white text (0xFFFFFF) on black, 32-bit integers shown divided by 256.
    cv::Mat values(27, 50, CV_32SC1, cv::Scalar(0));
    values(cv::Rect(0, 0, 10, 5)).setTo(0xFFFFFF);
    values(cv::Rect(20, 10, 10, 5)).setTo(0x8000);
    pictures.Show("Parámetros", values);

    std::string error;
    ASSERT_TRUE(pictures.Save("vistas/demo", error)) << error;
    EXPECT_TRUE(error.empty());
    EXPECT_TRUE(Same(cv::imread("vistas/demo/Imagen.png", cv::IMREAD_UNCHANGED), frame));
    EXPECT_EQ(cv::imread("vistas/demo/Frame B.png", cv::IMREAD_UNCHANGED).size(), cv::Size(40, 37));
    const cv::Mat panel = cv::imread("vistas/demo/Parámetros.png", cv::IMREAD_UNCHANGED);
    ASSERT_EQ(panel.type(), CV_8UC1);
    ASSERT_EQ(panel.size(), cv::Size(50, 27));
    EXPECT_EQ(panel.at<unsigned char>(2, 5), 255);
    EXPECT_EQ(panel.at<unsigned char>(12, 25), 128);
    EXPECT_EQ(panel.at<unsigned char>(20, 45), 0);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("vistas/demo"), {}), 3);
}

TEST(DebugWindowPictures, NothingShownSavesNoFiles)
{
    TemporaryFolder folder;
    DebugWindowRecorder shown;
    DebugWindowPictures pictures(shown);
    pictures.Create("Imagen");
    std::string error;
    ASSERT_TRUE(pictures.Save("vistas", error)) << error;
    EXPECT_TRUE(std::filesystem::is_empty("vistas"));
}

TEST(DebugWindowPictures, AFolderOrFileThatCannotBeWrittenIsReported)
{
    TemporaryFolder folder;
    DebugWindowRecorder shown;
    DebugWindowPictures pictures(shown);
    pictures.Show("Imagen", cv::Mat(8, 8, CV_8UC3, cv::Scalar(50)));

    std::ofstream("ocupado") << "a file, not a folder";
    std::string error;
    EXPECT_FALSE(pictures.Save("ocupado", error));
    EXPECT_NE(error.find("cannot create the folder ocupado"), std::string::npos) << error;

    // A folder stands where the picture would go.
    std::filesystem::create_directories("vistas/Imagen.png");
    error.clear();
    EXPECT_FALSE(pictures.Save("vistas", error));
    EXPECT_EQ(error, "cannot write vistas/Imagen.png");
}

}  // namespace
