#include "tracking/capture/CaptureSource.h"

#include "platform/MessageBox.h"

#include <opencv2/core/utils/logger.hpp>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iterator>
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

std::string DevicePath(int camera)
{
    return (std::filesystem::path(kDeviceFolder) / (kDevicePrefix + std::to_string(camera))).string();
}

// BRUMARIA_CAMERA's value; null when it is unset or empty.
const char* CameraVariable()
{
    const char* value = std::getenv(CaptureSource::kCameraVariable);
    return value == nullptr || *value == '\0' ? nullptr : value;
}

// The camera number of a BRUMARIA_CAMERA value; nothing when it is none.
std::optional<int> CameraNumber(const char* value)
{
    char* end = nullptr;
    const long camera = std::strtol(value, &end, 10);
    if (*end != '\0' || camera < 0 || camera > 99)
        return std::nullopt;
    return static_cast<int>(camera);
}

// Any available camera, as the capture understands it.
constexpr int kAnyCamera = -1;

// Video4Linux knows every webcam and finds "any" camera itself; the other backends are the
// fall-back for "any" camera.
constexpr int kCameraBackends[] = {cv::CAP_V4L2, cv::CAP_ANY};
// FFmpeg reads every AVI, OpenCV's own reader the MJPG ones. GStreamer is left out: it
// reports files it cannot read on the terminal, past OpenCV's log.
constexpr int kFileBackends[] = {cv::CAP_FFMPEG, cv::CAP_OPENCV_MJPEG};

}  // namespace

std::optional<int> CaptureSource::ChosenCamera()
{
    const char* value = CameraVariable();
    if (value == nullptr)
        return std::nullopt;
    const std::optional<int> camera = CameraNumber(value);
    if (!camera)
        ShowMessageBox(kApplicationTitle,
                       std::string(kCameraVariable) + "=\"" + value +
                           "\" no es un número de cámara (0, 1, ...); se usa "
                           "la webcam de Opciones > Elegir webcam.");
    return camera;
}

bool CaptureSource::NamesACamera(const CameraChoice& choice)
{
    const char* value = CameraVariable();
    return (value != nullptr && CameraNumber(value)) || choice.kind == CameraChoice::Kind::Device;
}

std::string CaptureSource::NoCameraMessage(const CameraChoice& choice)
{
    const char* value = CameraVariable();
    if (const std::optional<int> camera = value ? CameraNumber(value) : std::nullopt)
        return "No se puede abrir la webcam " + DevicePath(*camera) + " (" + kCameraVariable + "=" + value +
            "): se juega solo con las teclas.";
    switch (choice.kind) {
    case CameraChoice::Kind::Device:
        return "No se puede abrir la webcam \"" + choice.name + "\" (" + choice.path +
            "): se juega solo con las teclas.";
    case CameraChoice::Kind::NoCamera: return "No hay ninguna webcam elegida (Opciones > Elegir webcam).";
    case CameraChoice::Kind::AnyCamera: break;
    }
    return "No se encuentra ninguna webcam";
}

std::unique_ptr<CaptureSource> CaptureSource::OpenCamera(const CameraChoice& choice)
{
    std::unique_ptr<CaptureSource> source;
    if (const std::optional<int> camera = ChosenCamera()) {
        source = OpenDevice(DevicePath(*camera));
    } else if (choice.kind == CameraChoice::Kind::Device) {
        source = OpenDevice(choice.path);
    } else if (choice.kind == CameraChoice::Kind::AnyCamera && AnyVideoDevice()) {
        source.reset(new CaptureSource);
        QuietCaptureLog quiet;
        const auto opens = [&source](int backend) { return source->m_capture.open(kAnyCamera, backend); };
        if (std::none_of(std::begin(kCameraBackends), std::end(kCameraBackends), opens))
            source.reset();
    }
    if (source) {
        source->m_capture.set(cv::CAP_PROP_FRAME_WIDTH, choice.size.width);
        source->m_capture.set(cv::CAP_PROP_FRAME_HEIGHT, choice.size.height);
    } else if (NamesACamera(choice)) {
        ShowMessageBox(kApplicationTitle, NoCameraMessage(choice));
    }
    return source;
}

std::unique_ptr<CaptureSource> CaptureSource::OpenDevice(const std::string& path)
{
    std::error_code error;
    if (!std::filesystem::exists(path, error))
        return nullptr;
    std::unique_ptr<CaptureSource> source(new CaptureSource);
    QuietCaptureLog quiet;
    if (!source->m_capture.open(path, cv::CAP_V4L2))
        return nullptr;
    return source;
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
