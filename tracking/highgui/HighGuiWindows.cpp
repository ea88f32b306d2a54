#include "tracking/highgui/HighGuiWindows.h"

#include <opencv2/core.hpp>
#include <opencv2/highgui.hpp>

namespace {

constexpr int kWindowFlags = cv::WINDOW_AUTOSIZE | cv::WINDOW_GUI_NORMAL;

bool Exists(const std::string& name)
{
    // The Qt backend throws when no HighGUI window exists at all.
    try {
        return cv::getWindowProperty(name, cv::WND_PROP_AUTOSIZE) >= 0;
    } catch (const cv::Exception&) {
        return false;
    }
}

}  // namespace

void HighGuiWindows::Create(const std::string& name)
{
    // namedWindow of the Qt backend looks existing windows up by a Latin-1 copy of the name, so
    // for a name like "Parámetros" it would open another window at every call.
    if (!Exists(name))
        cv::namedWindow(name, kWindowFlags);
}

void HighGuiWindows::Destroy(const std::string& name)
{
    if (Exists(name))
        cv::destroyWindow(name);
}

void HighGuiWindows::Show(const std::string& name, const cv::Mat& image)
{
    // A window the player closed comes back with the same flags.
    Create(name);
    cv::imshow(name, Picture(image));
}

cv::Mat HighGuiWindows::Picture(const cv::Mat& image)
{
    if (image.depth() != CV_32S)
        return image;
    // imshow no longer takes 32-bit integers.
    cv::Mat shown;
    image.convertTo(shown, CV_8U, 1.0 / 256);
    return shown;
}
