#include "tracking/MotionInterpreter.h"
#include "tracking/ValuesPanel.h"
#include "tracking/highgui/HighGuiWindows.h"
#include "tests/tracking/TemporaryFolder.h"

#include <gtest/gtest.h>
#include <opencv2/core.hpp>
#include <opencv2/highgui.hpp>

namespace {

bool Exists(const std::string& name)
{
    try {
        return cv::getWindowProperty(name, cv::WND_PROP_AUTOSIZE) >= 0;
    } catch (const cv::Exception&) {
        return false;  // no HighGUI window at all
    }
}

}

TEST(HighGuiWindows, DestroyingWithoutAnyWindowIsHarmless)
{
    HighGuiWindows windows;
    windows.Destroy("Frame");
    windows.Destroy("Frame B");
    EXPECT_FALSE(Exists("Frame"));
}

TEST(HighGuiWindows, CreatesAutoSizedWindowsShowsAndDestroysThem)
{
    HighGuiWindows windows;
    windows.Create("Imagen");
    windows.Create("Imagen");
    ASSERT_TRUE(Exists("Imagen"));
    EXPECT_EQ(cv::getWindowProperty("Imagen", cv::WND_PROP_AUTOSIZE), cv::WINDOW_AUTOSIZE);

    windows.Show("Imagen", cv::Mat(240, 320, CV_8UC3, cv::Scalar(0, 128, 255)));
    cv::waitKey(1);
    EXPECT_EQ(cv::getWindowImageRect("Imagen").size(), cv::Size(320, 240));

    windows.Destroy("Imagen");
    cv::waitKey(1);
    EXPECT_FALSE(Exists("Imagen"));
    // Destroying again, with no window left, is harmless.
    windows.Destroy("Imagen");

    // Showing brings a destroyed window back.
    windows.Show("Imagen", cv::Mat(100, 100, CV_8UC3, cv::Scalar(0)));
    cv::waitKey(1);
    EXPECT_TRUE(Exists("Imagen"));
    windows.Destroy("Frame B");
    EXPECT_TRUE(Exists("Imagen"));
    windows.Destroy("Imagen");
}

TEST(HighGuiWindows, OneWindowPerNameEvenWithAnAccent)
{
    HighGuiWindows windows;
    windows.Create("Parámetros");
    windows.Create("Parámetros");
    windows.Show("Parámetros", cv::Mat(10, 10, CV_8UC1, cv::Scalar(0)));
    cv::waitKey(1);
    windows.Destroy("Parámetros");
    cv::waitKey(1);
    EXPECT_FALSE(Exists("Parámetros"));
}

TEST(HighGuiWindows, ShowsTheValuesPanelOfAnInterpreter)
{
    TemporaryFolder folder;
    HighGuiWindows windows;
    MotionInterpreter interpreter(windows);
    interpreter.ShowValuesWindow();
    EXPECT_TRUE(Exists(ValuesPanel::kWindowName));
    for (int i = 0; i < 3; ++i)
        windows.Show(ValuesPanel::kWindowName, ValuesPanel::Draw(PassRecord()));
    cv::waitKey(1);
    EXPECT_EQ(cv::getWindowImageRect(ValuesPanel::kWindowName).size(), cv::Size(500, 270));
    interpreter.HideValuesWindow();
    cv::waitKey(1);
    EXPECT_FALSE(Exists(ValuesPanel::kWindowName));
}
