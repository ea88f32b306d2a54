#include "tools/contentgen/ContentGenerator.h"

#include "tests/support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <set>

// The committed content is exactly what the generator makes today: same files, same bytes.
TEST(ContentRegeneration, DataFolderMatchesTheGeneratorByteForByte)
{
    const char* const refresh = "data/ no longer matches what tools/contentgen makes; if the change is meant, "
                                "run `contentgen data` from the build folder's tools/contentgen and commit the result";
    TemporaryFolder folder;  // the working directory
    std::string error;
    const std::vector<std::string> written = GenerateContent(".", error);
    ASSERT_FALSE(written.empty()) << error;
    const std::filesystem::path data = std::filesystem::path(BRUMARIA_SOURCE_DIR) / "data";
    std::set<std::string> committed = {"intro"};
    for (const char* subfolder : {"modelos", "texturas"})
        for (const auto& entry : std::filesystem::directory_iterator(data / subfolder))
            committed.insert(std::string(subfolder) + "/" + entry.path().filename().string());
    EXPECT_EQ(committed, std::set<std::string>(written.begin(), written.end())) << refresh;
    for (const std::string& name : written) {
        const std::string made = TemporaryFolder::Read(name);
        EXPECT_FALSE(made.empty()) << name;
        EXPECT_TRUE(made == TemporaryFolder::Read(data / name)) << name << ": " << refresh;
    }
}
