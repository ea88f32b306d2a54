#pragma once

#include "tracking/VideoSource.h"

#include <cstddef>
#include <vector>

// A video source that serves given pictures in order, for tests and benchmarks where no camera
// or decoder should take part. Each query hands out a fresh copy of the next picture, so what
// the tracker does to a served frame never changes the pictures themselves.
class FrameSequenceSource : public VideoSource {
public:
    // pictures: 8-bit BGR, top row first. With BottomLeftOrigin each is served bottom row
    // first and marked so, as some capture drivers deliver them. With loop the sequence starts
    // again after its last picture instead of ending.
    explicit FrameSequenceSource(std::vector<cv::Mat> pictures, double frameRate = 25.0,
                                 ImageOrigin origin = TopLeftOrigin, bool loop = false);

    VideoFrame* QueryFrame() override;
    double FrameRate() const override { return m_frameRate; }

    // The frame served last, as the tracker left it.
    const VideoFrame& LastFrame() const { return m_frame; }
    // The picture served last, exactly as it was handed out.
    const cv::Mat& LastServed() const;

private:
    std::vector<cv::Mat> m_pictures;
    double m_frameRate;
    ImageOrigin m_origin;
    bool m_loop;
    std::size_t m_served = 0;
    VideoFrame m_frame;
};
