#include "platform/ContentPath.h"

#include <algorithm>

namespace {

ContentFolders& CurrentFolders()
{
    static ContentFolders folders;
    return folders;
}

std::string InFolder(const std::filesystem::path& folder, const std::string& name)
{
    return folder.empty() ? name : (folder / name).string();
}

}  // namespace

void SetContentFolders(const ContentFolders& folders)
{
    CurrentFolders() = folders;
}

std::string NativePath(const std::string& contentName)
{
    std::string path = contentName;
    std::replace(path.begin(), path.end(), '\\', '/');
    return InFolder(CurrentFolders().content, path);
}

std::string WritablePath(const std::string& fileName)
{
    return InFolder(CurrentFolders().writable, fileName);
}
