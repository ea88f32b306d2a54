#pragma once

#include "tracking/CameraChoice.h"
#include "tracking/VideoSource.h"

#include <opencv2/videoio.hpp>

#include <memory>
#include <optional>
#include <string>

// A webcam or a video file read through OpenCV's video capture. Frames come top row first.
class CaptureSource : public VideoSource {
public:
    // Picks the camera by its number (0 for /dev/video0, ...) over the player's choice; unset
    // or empty: the choice holds.
    static constexpr const char* kCameraVariable = "BRUMARIA_CAMERA";

    // The camera BRUMARIA_CAMERA names, else the chosen one, at the chosen size; null when it
    // cannot be opened, and then a camera named by either is reported to the player. Returns at
    // once, without probing the capture backends, when the camera's device is missing.
    static std::unique_ptr<CaptureSource> OpenCamera(const CameraChoice& choice = {});
    // Whether a camera is named, by BRUMARIA_CAMERA or the choice, so that OpenCamera reports
    // its failure itself.
    static bool NamesACamera(const CameraChoice& choice);
    // Why no camera could be opened for the choice, as the player is told.
    static std::string NoCameraMessage(const CameraChoice& choice);
    // Null when the file cannot be opened.
    static std::unique_ptr<CaptureSource> OpenFile(const std::string& fileName);

    // The camera number BRUMARIA_CAMERA asks for: nothing for any camera; a value that is not
    // a camera number is reported and counts as any camera.
    static std::optional<int> ChosenCamera();

    VideoFrame* QueryFrame() override;
    double FrameRate() const override;

private:
    CaptureSource() = default;
    // Opens the device at `path` through Video4Linux; null when it cannot.
    static std::unique_ptr<CaptureSource> OpenDevice(const std::string& path);

    cv::VideoCapture m_capture;
    VideoFrame m_frame;
};

// Opens the player's camera and video files as capture sources.
class CaptureOpener : public VideoSourceOpener {
public:
    // The camera the next OpenCamera opens.
    void SetCameraChoice(const CameraChoice& choice) { m_choice = choice; }
    const CameraChoice& Choice() const { return m_choice; }

    std::unique_ptr<VideoSource> OpenCamera() override { return CaptureSource::OpenCamera(m_choice); }
    std::unique_ptr<VideoSource> OpenFile(const std::string& fileName) override
    {
        return CaptureSource::OpenFile(fileName);
    }

private:
    CameraChoice m_choice;
};
