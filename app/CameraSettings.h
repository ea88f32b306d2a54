#pragma once

#include "tracking/CameraChoice.h"

#include <string>

// The player's webcam choice, kept between runs in the user's settings
// (~/.config/brumaria/brumaria.conf), apart from "configuracion".
class CameraSettings {
public:
    // The stored choice; any camera at 640 x 480 when nothing (or nothing usable) is stored.
    static CameraChoice Load();
    // False when the settings file cannot be written; the choice then holds for this run only.
    static bool Save(const CameraChoice& choice);
    // The settings file.
    static std::string FileName();
};
