#pragma once

#include <filesystem>
#include <string>

// Where the content is read from, and where the files the program writes ("configuracion", the
// sample files) go. An empty path is the working directory.
struct ContentFolders {
    std::filesystem::path content;
    std::filesystem::path writable;
};

// Both folders are the working directory until this is called (once, at start-up).
void SetContentFolders(const ContentFolders& folders);

// Content names are written with backslashes ("snd\andar.snd", "texturas\%s"), as the data
// files and tools know them; this is the one place where they become paths of this system,
// inside the content folder.
std::string NativePath(const std::string& contentName);

// The path of a file the program writes, inside the writable folder.
std::string WritablePath(const std::string& fileName);
