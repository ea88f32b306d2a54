// "configuracion": what is read, what is written, and what is not a plain file in the working
// folder (a FIFO, a folder, a link, a folder that is gone).
#include "tracking/ThresholdFile.h"
#include "platform/MessageBox.h"
#include "tests/support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

using namespace std::string_literals;

namespace {

const std::string kDefaultFile = "Distancia X:20\nDistancia Y:20\nDistancia Z:20\nAngulo GiroX:3\n"
                                 "Angulo GiroY Arriba:10\nAngulo GiroY Abajo:-1\nAngulo GiroZ:10\n";
const std::string kWithDefaults = ": se usan los valores por defecto";

// The seven stored values in file order.
using Values = std::array<std::int32_t, 7>;
const Values kDefaults = {20, 20, 20, 3, 10, -1, 10};

Values InFileOrder(const DetectionThresholds& t)
{
    return {t.distanceX,        t.distanceY,          t.distanceZ,    t.yawThreshold,
            t.pitchUpThreshold, t.pitchDownThreshold, t.rollThreshold};
}

}  // namespace

TEST(ThresholdFile, LoadSetsTheDefaultsThenReadsUntilALineDoesNotMatch)
{
    TemporaryFolder folder;
    // A name, the file's text and the values loaded.
    const std::tuple<const char*, std::string, Values> loads[] = {
        {"CRLF",
         "Distancia X:21\r\nDistancia Y:22\r\nDistancia Z:23\r\nAngulo GiroX:5\r\nAngulo GiroY Arriba:9\r\n"
         "Angulo GiroY Abajo:-2\r\nAngulo GiroZ:8\r\n",
         {21, 22, 23, 5, 9, -2, 8}},
        {"white space, no final line end",
         "Distancia X: 31  \n\nDistancia Y:\t32\t\nDistancia Z:+33 \nAngulo GiroX:6   \r\n"
         "  Angulo GiroY Arriba:7\nAngulo GiroY Abajo:-3\nAngulo GiroZ:12",
         {31, 32, 33, 6, 7, -3, 12}},
        {"a line that does not match",
         "Distancia X:41\nDistancia Y:42\nDistancia z:43\nAngulo GiroX:7\n",
         {41, 42, 20, 3, 10, -1, 10}},
        {"not a number", "Distancia X:abc\nDistancia Y:50\n", kDefaults},
        {"binary garbage", "\177ELF\000\377\376\r\n:-\200Distancia X:\00099\n"s, kDefaults},
        {"beyond 32 bits",
         "Distancia X:99999999999999999999999\nDistancia Y:-2147483649\nDistancia Z:2147483647\n"
         "Angulo GiroX:-2147483648\nAngulo GiroY Arriba:4294967306\n",
         {INT32_MAX, INT32_MIN, INT32_MAX, INT32_MIN, INT32_MAX, -1, 10}},
    };
    for (const auto& [name, text, expected] : loads) {
        TemporaryFolder::Write("configuracion", text);
        DetectionThresholds t;
        t.distanceX = 777;
        EXPECT_TRUE(ThresholdFile::Load(t)) << name;
        EXPECT_EQ(InFileOrder(t), expected) << name;
        // Minus the most negative yaw threshold is the largest left limit there is.
        EXPECT_EQ(t.yawLeftLimit, expected[3] == INT32_MIN ? INT32_MAX : -expected[3]) << name;
        EXPECT_EQ(TemporaryFolder::Read("configuracion"), text) << name << ": left as it was";
    }
}

TEST(ThresholdFile, MissingFileIsCreatedWithTheDefaultLinesAndASaveReplacesItWhole)
{
    TemporaryFolder folder;
    DetectionThresholds t;
    ASSERT_TRUE(ThresholdFile::Load(t));
    EXPECT_EQ(TemporaryFolder::Read("configuracion"), kDefaultFile);

    t = {25, -4, 4, 12, -7, 15, 35, 30};  // in member order
    ASSERT_TRUE(ThresholdFile::Save(t));
    const std::string saved = "Distancia X:25\nDistancia Y:30\nDistancia Z:35\nAngulo GiroX:4\n"
                              "Angulo GiroY Arriba:12\nAngulo GiroY Abajo:-7\nAngulo GiroZ:15\n";
    EXPECT_EQ(TemporaryFolder::Read("configuracion"), saved);
    EXPECT_FALSE(std::filesystem::exists("configuracion.tmp"));
    // When the replacement cannot be written beside it, the file stays.
    std::filesystem::create_directory("configuracion.tmp");
    EXPECT_FALSE(ThresholdFile::Save(DetectionThresholds()));
    EXPECT_EQ(TemporaryFolder::Read("configuracion"), saved);
}

// Not waited for, named, and the defaults hold; a working folder removed under the program takes
// no file, whoever runs it (root too).
TEST(ThresholdFile, AFifoAFolderOrAFolderThatIsGoneIsNamedAndTheDefaultsHold)
{
    TemporaryFolder folder{"removed"};
    MessageCapture messages;
    const auto expectRefused = [](const char* where) {
        DetectionThresholds t;
        t.distanceY = 5;
        EXPECT_FALSE(ThresholdFile::Load(t)) << where;
        EXPECT_EQ(InFileOrder(t), kDefaults) << where;
        EXPECT_FALSE(ThresholdFile::Save(t)) << where;
        EXPECT_FALSE(std::filesystem::exists("configuracion.tmp")) << where;
    };
    // A reader that waits for a writer would never come back: the test ends itself instead.
    ::alarm(30);
    ASSERT_EQ(::mkfifo("configuracion", 0644), 0);
    expectRefused("a FIFO");
    EXPECT_TRUE(std::filesystem::is_fifo("configuracion")) << "not replaced";
    ::alarm(0);
    std::filesystem::remove("configuracion");
    std::filesystem::create_directory("configuracion");
    expectRefused("a folder");
    std::filesystem::current_path("removed");
    std::filesystem::remove(folder.Path() / "removed");
    expectRefused("a removed working folder");
    EXPECT_EQ(messages.Texts(),
              (std::vector<std::string>{"No se puede leer el archivo configuracion" + kWithDefaults,
                                        "No se puede leer el archivo configuracion" + kWithDefaults,
                                        "No se puede crear el archivo configuracion" + kWithDefaults}));
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
    EXPECT_EQ(std::filesystem::status("real/umbrales").permissions(), std::filesystem::perms(0640));
    EXPECT_FALSE(std::filesystem::exists("real/umbrales.tmp"));
    if (root) {
        struct stat status = {};
        ::stat("real/umbrales", &status);
        EXPECT_EQ(std::make_pair(status.st_uid, status.st_gid), std::make_pair(uid_t{1234}, gid_t{5678}));
    }

    // A read-only file stays read-only: root may still write it, anyone else leaves it as it was.
    ::chmod("real/umbrales", 0444);
    thresholds.distanceX = 44;
    EXPECT_EQ(ThresholdFile::Save(thresholds), root);
    EXPECT_EQ(std::filesystem::status("real/umbrales").permissions(), std::filesystem::perms(0444));
    EXPECT_EQ(TemporaryFolder::Read("real/umbrales").rfind(root ? "Distancia X:44\n" : "Distancia X:33\n", 0), 0u);

    // A link to nothing yet: the file is created where it points.
    std::filesystem::remove("real/umbrales");
    DetectionThresholds loaded;
    EXPECT_TRUE(ThresholdFile::Load(loaded));
    EXPECT_TRUE(std::filesystem::is_symlink("configuracion"));
    EXPECT_EQ(TemporaryFolder::Read("real/umbrales").rfind("Distancia X:20\n", 0), 0u);
}
