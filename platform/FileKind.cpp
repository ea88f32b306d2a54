#include "platform/FileKind.h"

#include <cerrno>

#include <sys/stat.h>

FileKind KindOfFile(const std::string& path)
{
    struct stat status = {};
    if (::stat(path.c_str(), &status) != 0)
        return errno == ENOENT || errno == ENOTDIR || errno == ENAMETOOLONG ? FileKind::Missing : FileKind::Other;
    return S_ISREG(status.st_mode) ? FileKind::Regular : FileKind::Other;
}
