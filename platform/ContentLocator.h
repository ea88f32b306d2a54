#pragma once

#include "platform/ContentPath.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// Decides, once at start-up, where the content is and where written files go. The working
// directory comes first when it holds content (a checkout's run folder, the tests, the demo):
// reads and writes then stay there. Otherwise the content installed beside the program
// (share/brumaria, found from the executable's own folder, so a moved prefix still works)
// is read, and written files go to the per-user folder. Where installed content exists, only a
// working directory with the whole content stands in for it: a home folder that happens to hold
// a "snd" folder is not the program's.
class ContentLocator {
public:
    // `userFolder`: where written files go when the installed content is used.
    ContentLocator(std::filesystem::path workingDirectory, std::filesystem::path executable,
                   std::filesystem::path userFolder);
    // The running process: its working directory, /proc/self/exe and its environment.
    static ContentLocator ForThisProcess();

    // Nothing when no searched folder holds content.
    std::optional<ContentFolders> Locate() const;
    // The folders searched for content, in order.
    std::vector<std::filesystem::path> SearchedFolders() const;
    // What the user is told when no content is found: the folders searched.
    std::string NotFoundMessage() const;

    // $XDG_DATA_HOME/brumaria, or ~/.local/share/brumaria when that is unset or not absolute
    // (null arguments: unset variables).
    static std::filesystem::path UserFolder(const char* xdgDataHome, const char* home);
    // How many of the content's four entries (models, textures, sounds, intro) the folder has.
    static int ContentEntriesIn(const std::filesystem::path& folder);
    // Creates the writable folder, and any missing parents, private to the user; false with
    // the reason when it cannot.
    static bool CreateWritableFolder(const ContentFolders& folders, std::string& error);

private:
    std::filesystem::path InstalledContent() const;

    std::filesystem::path m_workingDirectory;
    std::filesystem::path m_executable;
    std::filesystem::path m_userFolder;
};
