// "configuracion" that is not a plain file in the working folder: a FIFO, a folder, a link.
#include "tracking/ThresholdFile.h"
#include "platform/MessageBox.h"
#include "tests/support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const std::string kWithDefaults = ": se usan los valores por defecto";

mode_t Mode(const char* path)
{
    struct stat status = {};
    ::stat(path, &status);
    return status.st_mode & 07777;
}

}  // namespace

TEST(ThresholdFile, AFifoOrAFolderIsNotWaitedForButNamedAndTheDefaultsHold)
{
    TemporaryFolder folder;
    MessageCapture messages;
    // A reader that waits for a writer would never come back: the test ends itself instead.
    ::alarm(30);
    ASSERT_EQ(::mkfifo("configuracion", 0644), 0);
    DetectionThresholds thresholds;
    thresholds.distanceY = 5;
    EXPECT_FALSE(ThresholdFile::Load(thresholds));
    EXPECT_EQ(thresholds.distanceY, 20);
    EXPECT_FALSE(ThresholdFile::Save(thresholds));
    EXPECT_TRUE(std::filesystem::is_fifo("configuracion")) << "not replaced";
    std::filesystem::remove("configuracion");
    std::filesystem::create_directory("configuracion");
    EXPECT_FALSE(ThresholdFile::Load(thresholds));
    ::alarm(0);
    EXPECT_EQ(messages.Texts(),
              std::vector<std::string>(2, "No se puede leer el archivo configuracion" + kWithDefaults));

    // Root may write anywhere except into /proc.
    std::filesystem::create_directory("locked");
    std::filesystem::permissions("locked", std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    std::filesystem::current_path(::geteuid() == 0 ? "/proc" : "locked");
    messages.Clear();
    EXPECT_FALSE(ThresholdFile::Load(thresholds));
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"No se puede crear el archivo configuracion" + kWithDefaults});
}

TEST(ThresholdFile, ASaveThroughALinkReplacesTheFileItNamesKeepingModeAndOwner)
{
    TemporaryFolder folder;
    std::filesystem::create_directory("real");
    TemporaryFolder::Write("real/umbrales", "Distancia X:20\n");
    ::chmod("real/umbrales", 0640);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown("real/umbrales", 1234, 5678), 0);
    }
    std::filesystem::create_symlink("real/umbrales", "configuracion");

    DetectionThresholds thresholds;
    thresholds.distanceX = 33;
    ASSERT_TRUE(ThresholdFile::Save(thresholds));
    EXPECT_EQ(std::filesystem::read_symlink("configuracion"), "real/umbrales");
    EXPECT_EQ(TemporaryFolder::Read("real/umbrales").rfind("Distancia X:33\nDistancia Y:20\n", 0), 0u);
    EXPECT_EQ(Mode("real/umbrales"), 0640u);
    EXPECT_FALSE(std::filesystem::exists("real/umbrales.tmp"));
    struct stat status = {};
    ::stat("real/umbrales", &status);
    if (root) {
        EXPECT_EQ(std::make_pair(status.st_uid, status.st_gid), std::make_pair(uid_t{1234}, gid_t{5678}));
    }

    // A read-only file stays read-only: root may still write it, anyone else leaves it as it was.
    ::chmod("real/umbrales", 0444);
    thresholds.distanceX = 44;
    EXPECT_EQ(ThresholdFile::Save(thresholds), root);
    EXPECT_EQ(Mode("real/umbrales"), 0444u);
    EXPECT_EQ(TemporaryFolder::Read("real/umbrales").rfind(root ? "Distancia X:44\n" : "Distancia X:33\n", 0), 0u);

    // A link to nothing yet: the file is created where it points.
    std::filesystem::remove("real/umbrales");
    DetectionThresholds loaded;
    EXPECT_TRUE(ThresholdFile::Load(loaded));
    EXPECT_TRUE(std::filesystem::is_symlink("configuracion"));
    EXPECT_EQ(TemporaryFolder::Read("real/umbrales").rfind("Distancia X:20\n", 0), 0u);
}
