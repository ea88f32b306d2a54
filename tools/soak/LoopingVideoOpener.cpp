#include "tools/soak/LoopingVideoOpener.h"

#include "tracking/capture/CaptureSource.h"

namespace {

class LoopingVideo : public VideoSource {
public:
    LoopingVideo(std::string fileName, std::unique_ptr<VideoSource> file, long& rewinds)
        : m_fileName(std::move(fileName)), m_file(std::move(file)), m_rewinds(rewinds)
    {
    }

    VideoFrame* QueryFrame() override
    {
        if (VideoFrame* frame = m_file->QueryFrame())
            return frame;
        // The old capture goes only once the new one has a frame: the tracker still holds the
        // last frame grabbed, which belongs to the capture.
        std::unique_ptr<VideoSource> again = CaptureSource::OpenFile(m_fileName);
        VideoFrame* frame = again ? again->QueryFrame() : nullptr;
        if (frame == nullptr)
            return nullptr;
        m_file = std::move(again);
        ++m_rewinds;
        return frame;
    }

    double FrameRate() const override { return m_file ? m_file->FrameRate() : 0.0; }

private:
    std::string m_fileName;
    std::unique_ptr<VideoSource> m_file;
    long& m_rewinds;
};

}  // namespace

std::unique_ptr<VideoSource> LoopingVideoOpener::OpenFile(const std::string& fileName)
{
    std::unique_ptr<VideoSource> file = CaptureSource::OpenFile(fileName);
    if (!file)
        return nullptr;
    return std::make_unique<LoopingVideo>(fileName, std::move(file), m_rewinds);
}
