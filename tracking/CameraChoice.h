#pragma once

#include "tracking/VideoDevice.h"

#include <string>

// Which webcam the program opens when play starts or "WebCam" is chosen, at which picture size.
struct CameraChoice {
    enum class Kind {
        AnyCamera,  // nothing chosen yet: the first camera that opens
        Device,  // the camera at `path`
        NoCamera,  // "Ninguna (solo teclas)": none, the keys alone steer
    };
    static constexpr FrameSize kDefaultSize{640, 480};

    Kind kind = Kind::AnyCamera;
    std::string path;  // Device: /dev/videoN
    std::string name;  // Device: the camera's name, for the player
    FrameSize size = kDefaultSize;
};
