#include "tests/support/tracking/FrameSequenceSource.h"

#include <opencv2/core.hpp>

FrameSequenceSource::FrameSequenceSource(std::vector<cv::Mat> pictures, double frameRate, ImageOrigin origin, bool loop)
    : m_pictures(std::move(pictures)), m_frameRate(frameRate), m_origin(origin), m_loop(loop)
{
    if (m_origin == BottomLeftOrigin) {
        for (cv::Mat& picture : m_pictures) {
            cv::Mat upsideDown;
            cv::flip(picture, upsideDown, 0);
            picture = upsideDown;
        }
    }
}

VideoFrame* FrameSequenceSource::QueryFrame()
{
    if (m_pictures.empty() || (!m_loop && m_served >= m_pictures.size()))
        return nullptr;
    m_pictures[m_served % m_pictures.size()].copyTo(m_frame.image);
    m_frame.origin = m_origin;
    ++m_served;
    return &m_frame;
}

const cv::Mat& FrameSequenceSource::LastServed() const
{
    return m_pictures[(m_served - 1) % m_pictures.size()];
}
