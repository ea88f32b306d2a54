#include "sound/FileBuffer.h"

#include <climits>
#include <filesystem>
#include <fstream>

FileBuffer::FileBuffer(const std::string& path)
{
    Read(path);
}

bool FileBuffer::Read(const std::string& path)
{
    m_data.clear();
    m_ok = false;
    // Directories and devices open too, but have no contents to read whole.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return false;
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    const std::streampos start = file.tellg();
    file.seekg(0, std::ios::end);
    const std::streampos end = file.tellg();
    file.seekg(start);
    // Sizes are counted in a signed 32-bit int.
    if (!file || start < 0 || end < start || end - start > INT_MAX)
        return false;
    m_data.resize(static_cast<size_t>(end - start));
    file.read(m_data.data(), static_cast<std::streamsize>(m_data.size()));
    if (!file) {
        m_data.clear();
        return false;
    }
    m_ok = true;
    return true;
}
