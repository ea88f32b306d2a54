#pragma once

#include "tracking/DebugWindows.h"

#include <opencv2/core/mat.hpp>

#include <string>
#include <vector>

// Debug windows that only remember what was asked of them, for tests.
class DebugWindowRecorder : public DebugWindows {
public:
    enum class Action { Create, Destroy, Show };

    struct Call {
        Action action;
        std::string name;
        cv::Mat image;  // a copy of the shown image; empty for the others
    };

    void Create(const std::string& name) override;
    void Destroy(const std::string& name) override;
    void Show(const std::string& name, const cv::Mat& image) override;

    const std::vector<Call>& Calls() const { return m_calls; }
    void Clear() { m_calls.clear(); }
    // The windows created and not destroyed since, in creation order.
    const std::vector<std::string>& OpenWindows() const { return m_open; }
    bool IsOpen(const std::string& name) const;
    // Images shown in the named window, oldest first.
    std::vector<cv::Mat> Shown(const std::string& name) const;

private:
    std::vector<Call> m_calls;
    std::vector<std::string> m_open;
};
