#pragma once

#include "tracking/VideoSource.h"

#include <opencv2/videoio.hpp>

#include <memory>
#include <optional>
#include <string>

// A webcam or a video file read through OpenCV's video capture. Frames come top row first.
class CaptureSource : public VideoSource {
public:
    // Picks the camera by its number (0 for /dev/video0, ...); unset or empty: any camera.
    static constexpr const char* kCameraVariable = "BRUMARIA_CAMERA";

    // The camera BRUMARIA_CAMERA names, or any available one; null when none can be opened.
    // Returns at once, without probing the capture backends, when the system has no video
    // device at all.
    static std::unique_ptr<CaptureSource> OpenCamera();
    // Null when the file cannot be opened.
    static std::unique_ptr<CaptureSource> OpenFile(const std::string& fileName);

    // The camera number BRUMARIA_CAMERA asks for: nothing for any camera; a value that is not
    // a camera number is reported and counts as any camera.
    static std::optional<int> ChosenCamera();

    VideoFrame* QueryFrame() override;
    double FrameRate() const override;

private:
    CaptureSource() = default;

    cv::VideoCapture m_capture;
    VideoFrame m_frame;
};

// Opens the player's camera and video files as capture sources.
class CaptureOpener : public VideoSourceOpener {
public:
    std::unique_ptr<VideoSource> OpenCamera() override { return CaptureSource::OpenCamera(); }
    std::unique_ptr<VideoSource> OpenFile(const std::string& fileName) override
    {
        return CaptureSource::OpenFile(fileName);
    }
};
