#pragma once

#include <string>
#include <vector>

// A whole file read into memory at once.
class FileBuffer {
public:
    // Reads the file at once; see Read.
    explicit FileBuffer(const std::string& path);

    // Replaces the contents with the file's; false (and no data) if it cannot be opened or
    // read whole, or holds 2 GiB or more. An empty file reads fine, with size 0.
    bool Read(const std::string& path);

    // The contents; null while there are none.
    const char* Data() const { return m_data.empty() ? nullptr : m_data.data(); }
    int Size() const { return static_cast<int>(m_data.size()); }
    // Whether the last read succeeded.
    bool Ok() const { return m_ok; }

private:
    std::vector<char> m_data;
    bool m_ok = true;
};
