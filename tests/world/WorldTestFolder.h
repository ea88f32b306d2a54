#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

// A fresh temporary folder that is the working directory while the object lives, so that the
// renderer's relative content paths ("modelos/cielo.x", "texturas/...", "intro") land in it.
class WorldTestFolder {
public:
    WorldTestFolder()
        : m_previous(std::filesystem::current_path())
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

    // A file of tests/data, by its path there.
    static std::filesystem::path TestData(const std::string& relativePath)
    {
        return std::filesystem::path(BRUMARIA_SOURCE_DIR) / "tests" / "data" / relativePath;
    }

    // Copies a file of tests/data into the folder under `relativePath`.
    static void Place(const std::string& dataFile, const std::string& relativePath)
    {
        std::filesystem::copy_file(TestData(dataFile), relativePath,
            std::filesystem::copy_options::overwrite_existing);
    }

    // Every model file of the model set, each a copy of the same test box, and its texture.
    static void PlaceModelSet()
    {
        for (const char* name : {"cielo", "busto", "iglesia", "paredesA", "paredesB", "paredesC", "paredesD",
                 "paredesE", "paredesF", "paredesG", "sueloC", "sueloD", "sueloE", "sueloF", "tumba1", "puerta",
                 "cruz", "torre2", "torre", "arco", "cripta"})
            Place("modelos/caja.x", std::string("modelos/") + name + ".x");
        Place("texturas/piedra.ppm", "texturas/piedra.ppm");
    }

private:
    std::filesystem::path m_previous;
    std::filesystem::path m_path;
};
