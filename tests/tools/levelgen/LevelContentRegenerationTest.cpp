#include "tests/support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

// The compiled-in level is exactly what tools/levelgen writes today from its layout and the
// draw lists: same bytes.
TEST(LevelContentRegeneration, WorldLevelContentMatchesTheGeneratorByteForByte)
{
    TemporaryFolder folder;
    ASSERT_EQ(
        std::system("\"" PYTHON3_PATH "\" \"" BRUMARIA_SOURCE_DIR "/tools/levelgen/levelgen.py\" . >levelgen.log 2>&1"),
        0)
        << TemporaryFolder::Read("levelgen.log");
    for (const std::string file : {"LevelContent.cpp", "LevelContent.h"}) {
        const std::string made = TemporaryFolder::Read(file);
        EXPECT_FALSE(made.empty()) << file;
        EXPECT_TRUE(made == TemporaryFolder::Read(BRUMARIA_SOURCE_DIR "/world/" + file))
            << "world/" << file << " no longer matches what tools/levelgen writes; if the change is meant, "
            << "run tools/levelgen.sh and commit the result";
    }
}
