#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include <stdlib.h>

// A fresh working directory while the object lives (the head tracking's files go there).
class TemporaryFolder {
public:
    TemporaryFolder() : m_previous(std::filesystem::current_path())
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "brumaria-tracking-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot create a temporary folder");
        std::filesystem::current_path(m_path = pattern);
    }
    ~TemporaryFolder()
    {
        std::filesystem::current_path(m_previous);
        std::error_code ignored;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(m_path, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    // A file's bytes ("" when it cannot be read), and writing them.
    static std::string Read(const std::string& file)
    {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static void Write(const std::string& file, const std::string& bytes) { std::ofstream(file, std::ios::binary) << bytes; }

private:
    std::filesystem::path m_previous;
    std::filesystem::path m_path;
};
