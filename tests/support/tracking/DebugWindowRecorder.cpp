#include "tests/support/tracking/DebugWindowRecorder.h"

#include <algorithm>

void DebugWindowRecorder::Create(const std::string& name)
{
    m_calls.push_back({Action::Create, name, cv::Mat()});
    if (!IsOpen(name))
        m_open.push_back(name);
}

void DebugWindowRecorder::Destroy(const std::string& name)
{
    m_calls.push_back({Action::Destroy, name, cv::Mat()});
    m_open.erase(std::remove(m_open.begin(), m_open.end(), name), m_open.end());
}

void DebugWindowRecorder::Show(const std::string& name, const cv::Mat& image)
{
    m_calls.push_back({Action::Show, name, image.clone()});
    if (!IsOpen(name))
        m_open.push_back(name);
}

bool DebugWindowRecorder::IsOpen(const std::string& name) const
{
    return std::find(m_open.begin(), m_open.end(), name) != m_open.end();
}

std::vector<cv::Mat> DebugWindowRecorder::Shown(const std::string& name) const
{
    std::vector<cv::Mat> images;
    for (const Call& call : m_calls) {
        if (call.action == Action::Show && call.name == name)
            images.push_back(call.image);
    }
    return images;
}
