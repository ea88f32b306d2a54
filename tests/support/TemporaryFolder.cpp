#include "tests/support/TemporaryFolder.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

#include <stdlib.h>

TemporaryFolder::TemporaryFolder(std::initializer_list<const char*> subfolders)
    : m_previous(std::filesystem::current_path())
{
    std::string pattern = (std::filesystem::temp_directory_path() / "brumaria-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a temporary folder in " +
                                 std::filesystem::temp_directory_path().string());
    m_path = pattern;
    std::filesystem::current_path(m_path);
    for (const char* subfolder : subfolders)
        std::filesystem::create_directory(subfolder);
}

TemporaryFolder::~TemporaryFolder()
{
    std::error_code ignored;
    std::filesystem::current_path(m_previous, ignored);
    std::filesystem::remove_all(m_path, ignored);
}

void TemporaryFolder::LinkContent(std::initializer_list<const char*> entries)
{
    const std::filesystem::path data = std::filesystem::path(BRUMARIA_SOURCE_DIR) / "data";
    for (const char* entry : entries)
        std::filesystem::create_symlink(data / entry, entry);
}

void TemporaryFolder::CopyTestData(const std::string& dataFile, const std::filesystem::path& destination)
{
    std::filesystem::copy_file(std::filesystem::path(BRUMARIA_SOURCE_DIR) / "tests" / "data" / dataFile, destination,
                               std::filesystem::copy_options::overwrite_existing);
}

std::string TemporaryFolder::Read(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void TemporaryFolder::Write(const std::filesystem::path& file, const std::string& bytes)
{
    std::ofstream(file, std::ios::binary) << bytes;
}
