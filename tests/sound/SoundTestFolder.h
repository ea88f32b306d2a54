#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

// A fresh temporary folder that is the working directory while the object lives, so that the
// program's relative content paths ("snd/andar.snd") land in it.
class SoundTestFolder {
public:
    SoundTestFolder()
        : m_previous(std::filesystem::current_path())
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "brumaria-sound-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            ADD_FAILURE() << "cannot create a temporary folder";
        m_path = pattern;
        std::filesystem::current_path(m_path);
        std::filesystem::create_directory("snd");
    }
    ~SoundTestFolder()
    {
        std::filesystem::current_path(m_previous);
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    SoundTestFolder(const SoundTestFolder&) = delete;
    SoundTestFolder& operator=(const SoundTestFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

    static void Write(const std::string& relativePath, const std::string& bytes)
    {
        std::ofstream file(relativePath, std::ios::binary | std::ios::trunc);
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        ASSERT_TRUE(file) << relativePath;
    }

    static std::string Read(const std::filesystem::path& path)
    {
        std::ifstream file(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }

private:
    std::filesystem::path m_previous;
    std::filesystem::path m_path;
};

// Distinct, never-zero 16-bit stereo samples (frames * 4 bytes), so that every sample of a
// clip can be told apart from silence and from its neighbours.
inline std::string DistinctSamples(int frames)
{
    std::string bytes;
    uint32_t state = 0x2545F491u;
    for (int i = 0; i < frames * 2; ++i) {
        state = state * 1664525u + 1013904223u;
        uint16_t sample = static_cast<uint16_t>(state >> 16);
        if (sample == 0)
            sample = 1;
        bytes.push_back(static_cast<char>(sample & 0xFF));
        bytes.push_back(static_cast<char>(sample >> 8));
    }
    return bytes;
}
