#pragma once

#include "tracking/DebugWindows.h"

#include <opencv2/core/mat.hpp>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

// Debug windows that only remember what was asked of them, for tests.
class DebugWindowRecorder : public DebugWindows {
public:
    void Create(const std::string& name) override { Open(name); }
    void Destroy(const std::string& name) override
    {
        m_open.erase(std::remove(m_open.begin(), m_open.end(), name), m_open.end());
    }
    void Show(const std::string& name, const cv::Mat& image) override
    {
        m_shown[name].push_back(image.clone());
        Open(name);
    }

    // Forgets the images shown so far.
    void Clear() { m_shown.clear(); }
    // The windows created or shown and not destroyed since, in creation order.
    const std::vector<std::string>& OpenWindows() const { return m_open; }
    // Copies of the images shown in the named window, oldest first.
    std::vector<cv::Mat> Shown(const std::string& name) const
    {
        return m_shown.count(name) ? m_shown.at(name) : std::vector<cv::Mat>();
    }

private:
    void Open(const std::string& name)
    {
        if (std::find(m_open.begin(), m_open.end(), name) == m_open.end())
            m_open.push_back(name);
    }

    std::map<std::string, std::vector<cv::Mat>> m_shown;
    std::vector<std::string> m_open;
};
