#include "platform/ContentPath.h"

#include <algorithm>

std::string NativePath(const std::string& contentName)
{
    std::string path = contentName;
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}
