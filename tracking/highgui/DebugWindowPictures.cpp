#include "tracking/highgui/DebugWindowPictures.h"

#include "tracking/highgui/HighGuiWindows.h"

#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>

#include <filesystem>
#include <system_error>

DebugWindowPictures::DebugWindowPictures(DebugWindows& windows) : m_windows(windows) {}

void DebugWindowPictures::Create(const std::string& name)
{
    m_windows.Create(name);
}

void DebugWindowPictures::Destroy(const std::string& name)
{
    m_windows.Destroy(name);
    m_images.erase(name);
}

void DebugWindowPictures::Show(const std::string& name, const cv::Mat& image)
{
    m_windows.Show(name, image);
    // The caller draws into the same canvas again.
    image.copyTo(m_images[name]);
}

bool DebugWindowPictures::Save(const std::string& folder, std::string& error) const
{
    std::error_code failure;
    std::filesystem::create_directories(folder, failure);
    if (failure) {
        error = "cannot create the folder " + folder + ": " + failure.message();
        return false;
    }
    for (const auto& [name, image] : m_images) {
        const std::string file = (std::filesystem::path(folder) / (name + ".png")).string();
        bool saved = false;
        try {
            saved = cv::imwrite(file, HighGuiWindows::Picture(image));
        } catch (const cv::Exception&) {
            saved = false;
        }
        if (!saved) {
            error = "cannot write " + file;
            return false;
        }
    }
    return true;
}
