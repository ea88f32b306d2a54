#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

// Reads a fuzzer's input as a stream of values; past the end every value is zero.
class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    bool Empty() const { return m_position >= m_size; }
    std::size_t Remaining() const { return Empty() ? 0 : m_size - m_position; }

    std::uint8_t Byte() { return Empty() ? 0 : m_data[m_position++]; }

    template <class T>
    T Raw()
    {
        unsigned char bytes[sizeof(T)] = {};
        for (unsigned char& b : bytes)
            b = Byte();
        T value;
        std::memcpy(&value, bytes, sizeof(T));
        return value;
    }

    // A whole number in [low, high].
    int Between(int low, int high)
    {
        const std::uint32_t span = static_cast<std::uint32_t>(high - low) + 1;
        return low + static_cast<int>(Raw<std::uint16_t>() % span);
    }

    // The next count bytes (fewer at the end).
    std::string Bytes(std::size_t count)
    {
        count = std::min(count, Remaining());
        std::string bytes(reinterpret_cast<const char*>(m_data + m_position), count);
        m_position += count;
        return bytes;
    }

    std::string Rest() { return Bytes(Remaining()); }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_position = 0;
};
