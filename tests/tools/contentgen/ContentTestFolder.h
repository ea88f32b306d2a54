#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

// A fresh temporary folder, removed with everything in it when the object goes.
class ContentTestFolder {
public:
    ContentTestFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "brumaria-content-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            ADD_FAILURE() << "cannot create a temporary folder";
        m_path = pattern;
    }
    ~ContentTestFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    ContentTestFolder(const ContentTestFolder&) = delete;
    ContentTestFolder& operator=(const ContentTestFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};
