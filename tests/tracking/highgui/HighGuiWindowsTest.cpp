#include "tracking/highgui/HighGuiWindows.h"

#include <gtest/gtest.h>
#include <opencv2/core.hpp>
#include <opencv2/highgui.hpp>

TEST(HighGuiWindows, AutoSizedWindowsOnePerNameThatShowingBringsBack)
{
    const auto exists = [](const std::string& name) {
        cv::waitKey(1);
        try {
            return cv::getWindowProperty(name, cv::WND_PROP_AUTOSIZE) == cv::WINDOW_AUTOSIZE;
        } catch (const cv::Exception&) {
            return false;  // no HighGUI window at all
        }
    };
    HighGuiWindows windows;
    windows.Destroy("Frame B");
    EXPECT_FALSE(exists("Frame B")) << "destroying what is not there is harmless";
    for (const std::string name : {"Imagen", "Parámetros"}) {
        windows.Create(name);
        windows.Create(name);
        windows.Show(name, cv::Mat(240, 320, CV_8UC3, cv::Scalar(0, 128, 255)));
        ASSERT_TRUE(exists(name));
        EXPECT_EQ(cv::getWindowImageRect(name).size(), cv::Size(320, 240));
        // One destroy closes it: a second window of the same name would stay.
        windows.Destroy(name);
        EXPECT_FALSE(exists(name));
        windows.Show(name, cv::Mat(270, 500, CV_32SC1, cv::Scalar(0xFFFFFF)));  // as the values panel
        EXPECT_TRUE(exists(name));
        EXPECT_EQ(cv::getWindowImageRect(name).size(), cv::Size(500, 270));
        windows.Destroy(name);
    }
}
