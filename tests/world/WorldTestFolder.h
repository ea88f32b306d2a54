#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

// A fresh temporary folder, with empty modelos/ and texturas/, that is the working directory
// while the object lives: the renderer's relative content paths land in it.
class WorldTestFolder {
public:
    WorldTestFolder() : m_previous(std::filesystem::current_path())
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "brumaria-world-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            ADD_FAILURE() << "cannot create a temporary folder";
        m_path = pattern;
        std::filesystem::current_path(m_path);
        std::filesystem::create_directory("modelos");
        std::filesystem::create_directory("texturas");
    }
    ~WorldTestFolder()
    {
        std::filesystem::current_path(m_previous);
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    WorldTestFolder(const WorldTestFolder&) = delete;
    WorldTestFolder& operator=(const WorldTestFolder&) = delete;

    static std::filesystem::path TestData(const std::string& file)
    {
        return std::filesystem::path(BRUMARIA_SOURCE_DIR) / "tests" / "data" / file;
    }
    // Copies a file of tests/data into the folder as `relativePath`.
    static void Place(const std::string& dataFile, const std::string& relativePath)
    {
        std::filesystem::copy_file(TestData(dataFile), relativePath, std::filesystem::copy_options::overwrite_existing);
    }

private:
    std::filesystem::path m_previous;
    std::filesystem::path m_path;
};
