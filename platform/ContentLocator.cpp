#include "platform/ContentLocator.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <system_error>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr const char* kContentEntries[] = {"modelos", "texturas", "snd", "intro"};

}  // namespace

ContentLocator::ContentLocator(fs::path workingDirectory, fs::path executable, fs::path userFolder)
    : m_workingDirectory(std::move(workingDirectory)), m_executable(std::move(executable)),
      m_userFolder(std::move(userFolder))
{
}

ContentLocator ContentLocator::ForThisProcess()
{
    std::error_code ignored;
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home == '\0') {
        const passwd* user = ::getpwuid(::getuid());
        home = user ? user->pw_dir : nullptr;
    }
    return ContentLocator(fs::current_path(ignored), fs::read_symlink("/proc/self/exe", ignored),
                          UserFolder(std::getenv("XDG_DATA_HOME"), home));
}

fs::path ContentLocator::InstalledContent() const
{
    if (m_executable.empty())
        return {};
    return (m_executable.parent_path() / BRUMARIA_CONTENT_FROM_PROGRAMS).lexically_normal();
}

std::optional<ContentFolders> ContentLocator::Locate() const
{
    const fs::path installed = InstalledContent();
    std::error_code ignored;
    // Started inside the installed folder, whose files are not the user's to write.
    const bool inInstalled = !installed.empty() && fs::equivalent(m_workingDirectory, installed, ignored);
    const bool hasInstalled = !installed.empty() && ContentEntriesIn(installed) > 0;
    // Without an installed copy, part of the content will do: what is missing is named as it is read.
    const int needed = hasInstalled ? static_cast<int>(std::size(kContentEntries)) : 1;
    if (ContentEntriesIn(m_workingDirectory) >= needed && !inInstalled)
        return ContentFolders{};
    if (hasInstalled)
        return ContentFolders{installed, m_userFolder};
    return std::nullopt;
}

std::vector<fs::path> ContentLocator::SearchedFolders() const
{
    std::vector<fs::path> folders{m_workingDirectory};
    const fs::path installed = InstalledContent();
    if (!installed.empty())
        folders.push_back(installed);
    return folders;
}

std::string ContentLocator::NotFoundMessage() const
{
    std::string text = "No se encuentra el contenido del programa (las carpetas modelos, texturas y snd y la "
                       "imagen intro). Carpetas buscadas:";
    for (const fs::path& folder : SearchedFolders())
        text += "\n" + folder.string();
    return text;
}

fs::path ContentLocator::UserFolder(const char* xdgDataHome, const char* home)
{
    if (xdgDataHome != nullptr && fs::path(xdgDataHome).is_absolute())
        return fs::path(xdgDataHome) / "brumaria";
    return fs::path(home ? home : "") / ".local" / "share" / "brumaria";
}

int ContentLocator::ContentEntriesIn(const fs::path& folder)
{
    std::error_code ignored;
    int entries = 0;
    for (const char* entry : kContentEntries)
        entries += fs::exists(folder / entry, ignored);
    return entries;
}

bool ContentLocator::CreateWritableFolder(const ContentFolders& folders, std::string& error)
{
    if (folders.writable.empty())
        return true;
    fs::path path;
    for (const fs::path& part : folders.writable) {
        path /= part;
        if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
            error = "No se puede crear la carpeta " + path.string() + ": " + std::strerror(errno);
            return false;
        }
    }
    std::error_code ignored;
    if (!fs::is_directory(folders.writable, ignored)) {
        error = "No se puede crear la carpeta " + folders.writable.string() + ": ya existe un archivo con ese nombre";
        return false;
    }
    return true;
}
