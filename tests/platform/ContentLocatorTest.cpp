#include "platform/ContentLocator.h"

#include "tests/support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

// A working directory and an installed prefix, each with content or without.
class ContentLocatorTest : public ::testing::Test {
protected:
    ContentLocatorTest()
    {
        fs::create_directories(m_root / "work");
        fs::create_directories(m_root / "prefix/bin");
        fs::create_directories(m_root / "prefix/share/brumaria");
    }

    ContentLocator Locator(const fs::path& workingDirectory) const
    {
        return ContentLocator(workingDirectory, m_root / "prefix/bin/brumaria", "/home/ana/.local/share/brumaria");
    }

    TemporaryFolder m_folder;
    const fs::path m_root = fs::current_path();
    const fs::path m_work = m_root / "work";
    const fs::path m_installed = m_root / "prefix/share/brumaria";
};

// Without installed content any part of it will do (what is missing is named as it is read); with
// it, only the whole content: a home folder that happens to hold a "snd" folder is not the program's.
TEST_F(ContentLocatorTest, AWorkingDirectoryWithContentIsUsedForReadingAndWriting)
{
    for (const char* entry : {"modelos", "snd", "intro"}) {
        fs::remove_all(m_work);
        fs::create_directories(m_work / entry);
        const std::optional<ContentFolders> folders = Locator(m_work).Locate();
        ASSERT_TRUE(folders) << entry;
        EXPECT_EQ(folders->content, fs::path()) << entry;
        EXPECT_EQ(folders->writable, fs::path()) << entry;
    }
    TemporaryFolder::Write((m_installed / "intro").string(), "png");
    EXPECT_EQ(Locator(m_work).Locate()->content, m_installed) << "part of the content";
    for (const char* entry : {"modelos", "texturas", "snd"})
        fs::create_directories(m_work / entry);
    EXPECT_EQ(Locator(m_work).Locate()->content, fs::path()) << "the whole content";
}

// Reading the installed content, writing the user's folder and the folders searched without
// content are checked on the installed program (InstalledProgram, NoContent in tests/packaging);
// here the edges: started inside the installed folder, its files are not the user's to write, and
// without its own path only the working directory can be searched.
TEST_F(ContentLocatorTest, TheInstalledFolderIsNotWrittenAndWithoutItsOwnPathOnlyTheWorkingDirectoryIsSearched)
{
    fs::create_directories(m_installed / "modelos");
    EXPECT_EQ(Locator(m_installed).Locate()->writable, fs::path("/home/ana/.local/share/brumaria"));
    EXPECT_EQ(ContentLocator(m_work, "", "/u").SearchedFolders(), std::vector<fs::path>{m_work});
}

TEST(ContentLocator, TheUserFolderFollowsTheDataHomeWhenAbsolute)
{
    EXPECT_EQ(ContentLocator::UserFolder("/x/datos", "/home/ana"), fs::path("/x/datos/brumaria"));
    for (const char* unusable : {static_cast<const char*>(nullptr), "", "datos"})
        EXPECT_EQ(ContentLocator::UserFolder(unusable, "/home/ana"), fs::path("/home/ana/.local/share/brumaria"));
}

TEST(ContentLocator, TheWritableFolderIsCreatedPrivateWithItsParents)
{
    TemporaryFolder folder;
    const fs::path writable = fs::current_path() / "home/.local/share/brumaria";
    std::string error;
    ASSERT_TRUE(ContentLocator::CreateWritableFolder({"/usr/share/brumaria", writable}, error)) << error;
    struct stat status {};
    ASSERT_EQ(::stat(writable.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u);
    EXPECT_TRUE(ContentLocator::CreateWritableFolder({"/usr/share/brumaria", writable}, error)) << "existing";
    EXPECT_TRUE(ContentLocator::CreateWritableFolder({}, error)) << "the working directory";

    TemporaryFolder::Write("archivo", "");
    EXPECT_FALSE(ContentLocator::CreateWritableFolder({"", fs::current_path() / "archivo"}, error));
    EXPECT_NE(error.find("archivo"), std::string::npos) << error;
    EXPECT_FALSE(ContentLocator::CreateWritableFolder({"", fs::current_path() / "archivo/brumaria"}, error));
    EXPECT_NE(error.find("archivo"), std::string::npos) << error;
}

}  // namespace
