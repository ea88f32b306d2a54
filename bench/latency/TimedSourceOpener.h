#pragma once

#include "bench/latency/TimedSource.h"
#include "tracking/capture/CaptureSource.h"

// Opens video files as the program does, each wrapped in a TimedSource; no camera.
class TimedSourceOpener : public VideoSourceOpener {
public:
    explicit TimedSourceOpener(PassClock& clock) : m_clock(clock) {}

    std::unique_ptr<VideoSource> OpenCamera() override { return nullptr; }
    std::unique_ptr<VideoSource> OpenFile(const std::string& fileName) override
    {
        std::unique_ptr<VideoSource> file = CaptureSource::OpenFile(fileName);
        if (!file)
            return nullptr;
        auto timed = std::make_unique<TimedSource>(std::move(file), m_clock);
        m_opened = timed.get();
        return timed;
    }

    // The file opened last (owned by the tracker), or null.
    const TimedSource* Opened() const { return m_opened; }

private:
    PassClock& m_clock;
    TimedSource* m_opened = nullptr;
};
