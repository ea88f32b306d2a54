#pragma once

#include <string>

// What a content path names, symbolic links followed. Content is read only from regular files:
// a FIFO or a device could keep a reader waiting for ever, a folder has nothing to read.
enum class FileKind {
    Missing,  // nothing by that name (or a name no file can have)
    Regular,
    Other  // a folder, FIFO, device or socket, or a path that cannot be looked at
};

FileKind KindOfFile(const std::string& path);
