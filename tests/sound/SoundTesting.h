#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// A fresh temporary folder holding an empty snd/, the working directory while the object
// lives, so that the program's relative content paths land in it.
struct SoundTestFolder {
    SoundTestFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "brumaria-sound-XXXXXX").string();
        path = mkdtemp(pattern.data());
        std::filesystem::current_path(path);
        std::filesystem::create_directory("snd");
    }
    ~SoundTestFolder()
    {
        std::filesystem::current_path(previous);
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }

    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::path path;
};

inline void WriteFile(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The 16-bit samples of raw little-endian bytes (as this machine stores them).
inline std::vector<int16_t> ToSamples(const std::string& bytes)
{
    std::vector<int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}
