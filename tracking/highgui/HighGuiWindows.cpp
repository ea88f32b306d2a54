#include "tracking/highgui/HighGuiWindows.h"

#include <opencv2/highgui.hpp>

namespace {
constexpr int kWindowFlags = cv::WINDOW_AUTOSIZE | cv::WINDOW_GUI_NORMAL;
}

void HighGuiWindows::Create(const std::string& name)
{
    cv::namedWindow(name, kWindowFlags);
}

void HighGuiWindows::Destroy(const std::string& name)
{
    cv::destroyWindow(name);
}

void HighGuiWindows::Show(const std::string& name, const cv::Mat& image)
{
    // A window the player closed comes back with the same flags.
    cv::namedWindow(name, kWindowFlags);
    cv::imshow(name, image);
}
