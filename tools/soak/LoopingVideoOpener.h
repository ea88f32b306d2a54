#pragma once

#include "tracking/VideoSource.h"

#include <memory>
#include <string>

// Opens video files that start again from their first frame when they end, as a webcam never
// ends: at the end the file is closed and opened anew. No camera is offered.
class LoopingVideoOpener : public VideoSourceOpener {
public:
    std::unique_ptr<VideoSource> OpenCamera() override { return nullptr; }
    std::unique_ptr<VideoSource> OpenFile(const std::string& fileName) override;

    // How many times a file opened by this opener has been opened again at its end.
    long Rewinds() const { return m_rewinds; }

private:
    long m_rewinds = 0;
};
