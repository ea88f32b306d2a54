#pragma once

#include "tracking/VideoSource.h"

// Serves the picture handed to it, once, without copying it: the tracker only ever changes a
// frame that came bottom row first, and these come top row first.
class HandedFrameSource : public VideoSource {
public:
    void Hand(const cv::Mat& picture)
    {
        m_frame.image = picture;
        m_frame.origin = TopLeftOrigin;
        m_handed = true;
    }

    VideoFrame* QueryFrame() override
    {
        if (!m_handed)
            return nullptr;
        m_handed = false;
        return &m_frame;
    }
    double FrameRate() const override { return 25.0; }

private:
    VideoFrame m_frame;
    bool m_handed = false;
};
