#pragma once

#include "tracking/DebugWindows.h"

#include <opencv2/core/mat.hpp>

#include <map>
#include <string>

// Debug windows that pass every call on to other debug windows and keep a copy of the last
// image shown in each open window, so that what the windows show can be saved as pictures
// (at the end of a run, with or without a screen).
class DebugWindowPictures : public DebugWindows {
public:
    explicit DebugWindowPictures(DebugWindows& windows);

    void Create(const std::string& name) override;
    // The window's picture goes with it.
    void Destroy(const std::string& name) override;
    void Show(const std::string& name, const cv::Mat& image) override;

    // The last image of each window, by window name.
    const std::map<std::string, cv::Mat>& Images() const { return m_images; }
    // Writes each window's picture, as the HighGUI windows show it, to folder/<name>.png,
    // creating the folder. On false, error says which file or folder could not be written.
    bool Save(const std::string& folder, std::string& error) const;

private:
    DebugWindows& m_windows;
    std::map<std::string, cv::Mat> m_images;
};
