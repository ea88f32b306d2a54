#pragma once

#include <filesystem>
#include <initializer_list>
#include <string>

// A fresh folder under the system's temporary folder that is the working directory while the
// object lives, so that the program's relative paths ("configuracion", modelos/, snd/, the sample
// files) land in it. Then the previous working directory comes back and the folder is removed.
// Throws std::runtime_error when the folder cannot be made.
class TemporaryFolder {
public:
    // subfolders: made empty inside it (e.g. "modelos", "texturas").
    explicit TemporaryFolder(std::initializer_list<const char*> subfolders = {});
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

    // Links the named entries of the source tree's data/ (the game's content) into the folder.
    static void LinkContent(std::initializer_list<const char*> entries);
    // Copies a file of tests/data (a path relative to it) to destination.
    static void CopyTestData(const std::string& dataFile, const std::filesystem::path& destination);
    // A file's bytes ("" when it cannot be read), and writing them.
    static std::string Read(const std::filesystem::path& file);
    static void Write(const std::filesystem::path& file, const std::string& bytes);

private:
    std::filesystem::path m_previous;
    std::filesystem::path m_path;
};
