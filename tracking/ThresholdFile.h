#pragma once

#include "tracking/DetectionThresholds.h"

// "configuracion" in the writable folder (platform/ContentPath.h): the seven detection
// thresholds as seven "key:number" lines ("Distancia X:20\n" ...), read at start and rewritten
// when the player confirms the parameters dialog.
class ThresholdFile {
public:
    static constexpr const char* kFileName = "configuracion";

    // Sets the defaults first, then reads the file line by line until a line does not match its
    // key. A missing file is created with the defaults. Only a regular file is read: anything
    // else (a folder, a FIFO) is not waited for. False, with a message naming the file, when it
    // could be neither read nor created; the thresholds then keep the defaults.
    static bool Load(DetectionThresholds& thresholds);
    // Replaces the file as a whole (written beside it, then renamed over it), so a failed save
    // leaves the previous file as it was; through a symbolic link, the file it names. The file
    // keeps its permissions and owner. False when it could not be written, or is read-only or
    // not a regular file.
    static bool Save(const DetectionThresholds& thresholds);
};
