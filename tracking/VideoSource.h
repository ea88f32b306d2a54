#pragma once

#include "tracking/VideoFrame.h"

#include <memory>
#include <string>

// An open camera or video file that the head tracker grabs its frames from.
class VideoSource {
public:
    virtual ~VideoSource() = default;
    // Grabs the next frame; null when none could be grabbed (end of the file, camera lost).
    // The frame belongs to the source; it keeps the last picture grabbed until another one
    // is grabbed.
    virtual VideoFrame* QueryFrame() = 0;
    // Frames per second the source reports (0.0 when it does not know).
    virtual double FrameRate() const = 0;
};

// Opens the sources the player can choose: the webcam or a video file.
class VideoSourceOpener {
public:
    virtual ~VideoSourceOpener() = default;
    // An available camera; null when there is none.
    virtual std::unique_ptr<VideoSource> OpenCamera() = 0;
    // The video file; null when it cannot be opened.
    virtual std::unique_ptr<VideoSource> OpenFile(const std::string& fileName) = 0;
};
