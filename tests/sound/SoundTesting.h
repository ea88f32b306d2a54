#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

// The 16-bit samples of raw little-endian bytes (as this machine stores them).
inline std::vector<int16_t> ToSamples(const std::string& bytes)
{
    std::vector<int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}
