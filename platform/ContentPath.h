#pragma once

#include <string>

// Content names are written with backslashes ("snd\andar.snd", "texturas\%s"), as the data
// files and tools know them; this is the one place where they become paths of this system.
std::string NativePath(const std::string& contentName);
