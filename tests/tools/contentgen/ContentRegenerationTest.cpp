#include "tools/contentgen/ContentGenerator.h"

#include "ContentTestFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>

namespace {

std::string ReadAll(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::set<std::string> FilesIn(const std::filesystem::path& root, const std::string& folder)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(root / folder))
        names.insert(folder + "/" + entry.path().filename().string());
    return names;
}

const char* const kHowToRefresh =
    "data/ no longer matches what tools/contentgen makes; if the change is meant, refresh it with "
    "`contentgen data` from the build folder's tools/contentgen and commit the result";

} // namespace

// The committed content is exactly what the generator makes today: same files, same bytes.
TEST(ContentRegeneration, DataFolderMatchesTheGeneratorByteForByte)
{
    ContentTestFolder folder;
    std::string error;
    const std::vector<std::string> written = GenerateContent(folder.Path().string(), error);
    ASSERT_FALSE(written.empty()) << error;

    const std::filesystem::path data = std::filesystem::path(BRUMARIA_SOURCE_DIR) / "data";
    std::set<std::string> committed = FilesIn(data, "modelos");
    const std::set<std::string> textures = FilesIn(data, "texturas");
    committed.insert(textures.begin(), textures.end());
    if (std::filesystem::exists(data / "intro"))
        committed.insert("intro");
    EXPECT_EQ(committed, std::set<std::string>(written.begin(), written.end())) << kHowToRefresh;

    for (const std::string& name : written) {
        const std::string made = ReadAll(folder.Path() / name);
        const std::string kept = ReadAll(data / name);
        EXPECT_FALSE(made.empty()) << name;
        EXPECT_TRUE(made == kept) << name << ": " << kHowToRefresh;
    }
}

TEST(ContentRegeneration, ReportsAFolderItCannotWriteInto)
{
    ContentTestFolder folder;
    const std::filesystem::path blocker = folder.Path() / "fichero";
    std::ofstream(blocker) << "x";
    std::string error;
    EXPECT_TRUE(GenerateContent((blocker / "dentro").string(), error).empty());
    EXPECT_FALSE(error.empty());
}
