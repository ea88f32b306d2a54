#pragma once

#include "bench/latency/GrabTime.h"
#include "tracking/VideoSource.h"

#include <memory>
#include <vector>

class PassClock;

// A video source that notes when each of its frames is grabbed, on the main loop's clock.
class TimedSource : public VideoSource {
public:
    TimedSource(std::unique_ptr<VideoSource> source, PassClock& clock);

    VideoFrame* QueryFrame() override;
    double FrameRate() const override { return m_source->FrameRate(); }

    const std::vector<GrabTime>& Grabs() const { return m_grabs; }
    // True once a grab found no frame: the end of the file.
    bool Ended() const { return m_ended; }

private:
    std::unique_ptr<VideoSource> m_source;
    PassClock& m_clock;
    std::vector<GrabTime> m_grabs;
    bool m_ended = false;
};
