#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

#include <stdlib.h>
#include <unistd.h>

// A fresh folder that is the working directory while the object lives, for the files the
// head tracking reads and writes relative to it; removed afterwards.
class TemporaryFolder {
public:
    TemporaryFolder() : m_previous(std::filesystem::current_path())
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "brumaria-tracking-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot create a temporary folder");
        m_path = pattern;
        std::filesystem::current_path(m_path);
    }

    ~TemporaryFolder()
    {
        std::filesystem::current_path(m_previous);
        std::error_code ignored;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(m_path, ignored);
    }

    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_previous;
    std::filesystem::path m_path;
};
