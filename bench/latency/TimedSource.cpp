#include "bench/latency/TimedSource.h"

#include "app/core/PassClock.h"

TimedSource::TimedSource(std::unique_ptr<VideoSource> source, PassClock& clock)
    : m_source(std::move(source)), m_clock(clock)
{
}

VideoFrame* TimedSource::QueryFrame()
{
    const double start = m_clock.NowMs();
    VideoFrame* frame = m_source->QueryFrame();
    if (frame == nullptr) {
        m_ended = true;
        return nullptr;
    }
    m_grabs.push_back({static_cast<int>(m_grabs.size()), start, m_clock.NowMs()});
    return frame;
}
