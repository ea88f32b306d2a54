#include "tracking/capture/CaptureSource.h"

#include "platform/MessageBox.h"

#include <opencv2/core/utils/logger.hpp>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace {

// Failing backends print warnings while the capture tries them one after the other; a missing
// camera or an unreadable file is answered by the result alone.
class QuietCaptureLog {
public:
    QuietCaptureLog() : m_previous(cv::utils::logging::setLogLevel(cv::utils::logging::LOG_LEVEL_SILENT)) {}
    ~QuietCaptureLog() { cv::utils::logging::setLogLevel(m_previous); }
    QuietCaptureLog(const QuietCaptureLog&) = delete;
    QuietCaptureLog& operator=(const QuietCaptureLog&) = delete;

private:
    cv::utils::logging::LogLevel m_previous;
};

constexpr const char* kDeviceFolder = "/dev";
constexpr const char* kDevicePrefix = "video";

bool AnyVideoDevice()
{
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(kDeviceFolder, error)) {
        if (entry.path().filename().string().rfind(kDevicePrefix, 0) == 0)
            return true;
    }
    return false;
}

bool VideoDeviceExists(int camera)
{
    std::error_code error;
    const std::filesystem::path device =
        std::filesystem::path(kDeviceFolder) / (kDevicePrefix + std::to_string(camera));
    return std::filesystem::exists(device, error);
}

// Any available camera, as the capture understands it.
constexpr int kAnyCamera = -1;

// Video4Linux knows every webcam and finds "any" camera itself; the other backends are the
// fall-back.
constexpr int kCameraBackends[] = {cv::CAP_V4L2, cv::CAP_ANY};
// FFmpeg reads every AVI, OpenCV's own reader the MJPG ones. GStreamer is left out: it
// reports files it cannot read on the terminal, past OpenCV's log.
constexpr int kFileBackends[] = {cv::CAP_FFMPEG, cv::CAP_OPENCV_MJPEG};

}

std::optional<int> CaptureSource::ChosenCamera()
{
    const char* value = std::getenv(kCameraVariable);
    if (value == nullptr || *value == '\0')
        return std::nullopt;
    char* end = nullptr;
    const long camera = std::strtol(value, &end, 10);
    if (*end != '\0' || camera < 0 || camera > 99) {
        ShowMessageBox(kApplicationTitle, std::string(kCameraVariable) + "=\"" + value +
                                              "\" no es un número de cámara (0, 1, ...); se usa "
                                              "cualquier cámara disponible.");
        return std::nullopt;
    }
    return static_cast<int>(camera);
}

std::unique_ptr<CaptureSource> CaptureSource::OpenCamera()
{
    const std::optional<int> chosen = ChosenCamera();
    if (chosen ? !VideoDeviceExists(*chosen) : !AnyVideoDevice())
        return nullptr;

    std::unique_ptr<CaptureSource> source(new CaptureSource);
    QuietCaptureLog quiet;
    for (int backend : kCameraBackends) {
        if (source->m_capture.open(chosen.value_or(kAnyCamera), backend))
            return source;
    }
    return nullptr;
}

std::unique_ptr<CaptureSource> CaptureSource::OpenFile(const std::string& fileName)
{
    std::unique_ptr<CaptureSource> source(new CaptureSource);
    QuietCaptureLog quiet;
    for (int backend : kFileBackends) {
        if (source->m_capture.open(fileName, backend))
            return source;
    }
    return nullptr;
}

VideoFrame* CaptureSource::QueryFrame()
{
    // Grabbing first: at the end of a file the last picture stays as it was.
    if (!m_capture.grab() || !m_capture.retrieve(m_frame.image) || m_frame.image.empty())
        return nullptr;
    m_frame.origin = TopLeftOrigin;
    return &m_frame;
}

double CaptureSource::FrameRate() const
{
    return m_capture.get(cv::CAP_PROP_FPS);
}
