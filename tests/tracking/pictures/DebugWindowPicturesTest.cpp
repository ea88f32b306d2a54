#include "tests/tracking/TemporaryFolder.h"
#include "tracking/DebugWindowRecorder.h"
#include "tracking/highgui/DebugWindowPictures.h"

#include <gtest/gtest.h>
#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>

#include <filesystem>

TEST(DebugWindowPictures, PassesCallsOnAndSavesTheLastPictureOfEachOpenWindow)
{
    TemporaryFolder folder;
    DebugWindowRecorder shown;
    DebugWindowPictures pictures(shown);
    cv::Mat canvas(48, 64, CV_8UC3, cv::Scalar(0, 128, 255));
    pictures.Create("Frame");
    pictures.Show("Imagen", canvas);
    const cv::Mat first = canvas.clone();
    canvas.setTo(cv::Scalar(9, 9, 9));  // the tracker draws the next frame into the same canvas
    pictures.Show("Frame B", canvas);
    pictures.Destroy("Frame B");
    pictures.Show("Parámetros", cv::Mat(27, 50, CV_32SC1, cv::Scalar(0xFFFFFF)));
    EXPECT_EQ(shown.Calls().size(), 5u);
    EXPECT_EQ(shown.OpenWindows(), (std::vector<std::string>{"Frame", "Imagen", "Parámetros"}));

    std::string error;
    ASSERT_TRUE(pictures.Save("vistas/demo", error)) << error;
    EXPECT_EQ(cv::norm(cv::imread("vistas/demo/Imagen.png"), first, cv::NORM_INF), 0.0);
    EXPECT_EQ(cv::countNonZero(cv::imread("vistas/demo/Parámetros.png", cv::IMREAD_UNCHANGED) != 255), 0);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("vistas/demo"), {}), 2) << "nothing for Frame, Frame B";

    TemporaryFolder::Write("ocupado", "a file, not a folder");
    EXPECT_FALSE(pictures.Save("ocupado", error));
    EXPECT_NE(error.find("cannot create the folder ocupado"), std::string::npos) << error;
    std::filesystem::create_directories("vistas/Imagen.png");
    EXPECT_FALSE(pictures.Save("vistas", error));
    EXPECT_EQ(error, "cannot write vistas/Imagen.png");
}
