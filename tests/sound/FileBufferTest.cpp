#include "sound/FileBuffer.h"

#include "SoundTestFolder.h"

#include <gtest/gtest.h>

#include <string>

TEST(FileBuffer, ReadsTheWholeFileByteForByte)
{
    SoundTestFolder folder;
    std::string bytes = DistinctSamples(1000);
    bytes[7] = '\0';  // binary data, not text
    SoundTestFolder::Write("snd/clip.snd", bytes);
    FileBuffer buffer("snd/clip.snd");
    ASSERT_TRUE(buffer.Ok());
    ASSERT_EQ(buffer.Size(), 4000);
    EXPECT_EQ(std::string(buffer.Data(), 4000), bytes);
}

TEST(FileBuffer, EmptyFileReadsFineWithNoData)
{
    SoundTestFolder folder;
    SoundTestFolder::Write("snd/empty.snd", "");
    FileBuffer buffer("snd/empty.snd");
    EXPECT_TRUE(buffer.Ok());
    EXPECT_EQ(buffer.Size(), 0);
    EXPECT_EQ(buffer.Data(), nullptr);
}

TEST(FileBuffer, MissingFileOrFolderFailsWithNoData)
{
    SoundTestFolder folder;
    for (const char* path : {"snd/missing.snd", "snd", "nowhere/clip.snd"}) {
        FileBuffer buffer(path);
        EXPECT_FALSE(buffer.Ok()) << path;
        EXPECT_EQ(buffer.Size(), 0) << path;
        EXPECT_EQ(buffer.Data(), nullptr) << path;
    }
}

TEST(FileBuffer, ReadReplacesTheContentsAndAFailedReadDropsThem)
{
    SoundTestFolder folder;
    SoundTestFolder::Write("snd/long.snd", std::string(100, 'a'));
    SoundTestFolder::Write("snd/short.snd", "bcd");
    FileBuffer buffer("snd/long.snd");
    ASSERT_TRUE(buffer.Read("snd/short.snd"));
    EXPECT_EQ(std::string(buffer.Data(), static_cast<size_t>(buffer.Size())), "bcd");
    EXPECT_FALSE(buffer.Read("snd/missing.snd"));
    EXPECT_FALSE(buffer.Ok());
    EXPECT_EQ(buffer.Size(), 0);
    EXPECT_TRUE(buffer.Read("snd/long.snd"));
    EXPECT_TRUE(buffer.Ok());
}
