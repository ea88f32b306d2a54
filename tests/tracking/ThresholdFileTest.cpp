#include "tests/tracking/TemporaryFolder.h"
#include "tests/tracking/TextFiles.h"
#include "tracking/ThresholdFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const char* const kDefaultFile =
    "Distancia X:20\n"
    "Distancia Y:20\n"
    "Distancia Z:20\n"
    "Angulo GiroX:3\n"
    "Angulo GiroY Arriba:10\n"
    "Angulo GiroY Abajo:-1\n"
    "Angulo GiroZ:10\n";

DetectionThresholds Loaded(const std::string& text)
{
    WriteText("configuracion", text);
    DetectionThresholds thresholds;
    thresholds.distanceX = 777;
    EXPECT_TRUE(ThresholdFile::Load(thresholds));
    return thresholds;
}

void ExpectDefaults(const DetectionThresholds& t)
{
    EXPECT_EQ(t.distanceX, 20);
    EXPECT_EQ(t.distanceY, 20);
    EXPECT_EQ(t.distanceZ, 20);
    EXPECT_EQ(t.yawThreshold, 3);
    EXPECT_EQ(t.yawLeftLimit, -3);
    EXPECT_EQ(t.pitchUpThreshold, 10);
    EXPECT_EQ(t.pitchDownThreshold, -1);
    EXPECT_EQ(t.rollThreshold, 10);
}

bool RunningAsRoot()
{
    return ::geteuid() == 0;
}

}

TEST(ThresholdFile, MissingFileIsCreatedWithTheDefaultLines)
{
    TemporaryFolder folder;
    DetectionThresholds thresholds;
    thresholds.yawThreshold = 99;
    ASSERT_TRUE(ThresholdFile::Load(thresholds));
    ExpectDefaults(thresholds);
    EXPECT_EQ(ReadText("configuracion"), kDefaultFile);
    EXPECT_FALSE(std::filesystem::exists("configuracion.tmp"));
}

TEST(ThresholdFile, ReadsEveryLineIntoItsField)
{
    TemporaryFolder folder;
    const DetectionThresholds t = Loaded("Distancia X:11\nDistancia Y:12\nDistancia Z:13\nAngulo GiroX:5\n"
                                         "Angulo GiroY Arriba:15\nAngulo GiroY Abajo:-16\nAngulo GiroZ:17\n");
    EXPECT_EQ(t.distanceX, 11);
    EXPECT_EQ(t.distanceY, 12);
    EXPECT_EQ(t.distanceZ, 13);
    EXPECT_EQ(t.yawThreshold, 5);
    EXPECT_EQ(t.yawLeftLimit, -5);
    EXPECT_EQ(t.pitchUpThreshold, 15);
    EXPECT_EQ(t.pitchDownThreshold, -16);
    EXPECT_EQ(t.rollThreshold, 17);
}

TEST(ThresholdFile, AcceptsCrLfExtraWhiteSpaceAndNoFinalLineEnd)
{
    TemporaryFolder folder;
    const DetectionThresholds crlf = Loaded("Distancia X:21\r\nDistancia Y:22\r\nDistancia Z:23\r\nAngulo GiroX:4\r\n"
                                            "Angulo GiroY Arriba:9\r\nAngulo GiroY Abajo:-2\r\nAngulo GiroZ:8\r\n");
    EXPECT_EQ(crlf.distanceX, 21);
    EXPECT_EQ(crlf.yawLeftLimit, -4);
    EXPECT_EQ(crlf.rollThreshold, 8);

    const DetectionThresholds spaced = Loaded("Distancia X: 31  \n\nDistancia Y:\t32\t\nDistancia Z:+33 \n"
                                              "Angulo GiroX:6   \r\n  Angulo GiroY Arriba:7\nAngulo GiroY Abajo:-3\n"
                                              "Angulo GiroZ:12");
    EXPECT_EQ(spaced.distanceX, 31);
    EXPECT_EQ(spaced.distanceY, 32);
    EXPECT_EQ(spaced.distanceZ, 33);
    EXPECT_EQ(spaced.yawThreshold, 6);
    EXPECT_EQ(spaced.pitchUpThreshold, 7);
    EXPECT_EQ(spaced.pitchDownThreshold, -3);
    EXPECT_EQ(spaced.rollThreshold, 12);
}

TEST(ThresholdFile, ReadingStopsAtTheFirstLineThatDoesNotMatch)
{
    TemporaryFolder folder;
    const DetectionThresholds t = Loaded("Distancia X:41\nDistancia Y:42\nDistancia z:43\nAngulo GiroX:7\n"
                                         "Angulo GiroY Arriba:44\nAngulo GiroY Abajo:-45\nAngulo GiroZ:46\n");
    EXPECT_EQ(t.distanceX, 41);
    EXPECT_EQ(t.distanceY, 42);
    EXPECT_EQ(t.distanceZ, 20);
    EXPECT_EQ(t.yawThreshold, 3);
    EXPECT_EQ(t.yawLeftLimit, -3);
    EXPECT_EQ(t.rollThreshold, 10);

    // A number that is not one stops the reading too, and the file is left as it was.
    const std::string text = "Distancia X:abc\nDistancia Y:50\n";
    ExpectDefaults(Loaded(text));
    EXPECT_EQ(ReadText("configuracion"), text);
    ExpectDefaults(Loaded(""));
}

TEST(ThresholdFile, BinaryGarbageLoadsTheDefaultsAndIsLeftAsItWas)
{
    TemporaryFolder folder;
    const char bytes[] = "\x7f" "ELF\0\xff\xfe\r\n:-\x80" "Distancia X:\0" "99\n";
    const std::string garbage(bytes, sizeof bytes - 1);
    ExpectDefaults(Loaded(garbage));
    EXPECT_EQ(ReadText("configuracion"), garbage);
    // A good first line followed by garbage keeps what was read.
    const DetectionThresholds t = Loaded("Distancia X:33\n" + garbage);
    EXPECT_EQ(t.distanceX, 33);
    EXPECT_EQ(t.distanceY, 20);
}

TEST(ThresholdFile, NumbersBeyond32BitsClamp)
{
    TemporaryFolder folder;
    const DetectionThresholds t = Loaded("Distancia X:99999999999999999999999\nDistancia Y:-2147483649\n"
                                         "Distancia Z:2147483647\nAngulo GiroX:-2147483648\n"
                                         "Angulo GiroY Arriba:4294967306\nAngulo GiroY Abajo:-1\nAngulo GiroZ:10\n");
    EXPECT_EQ(t.distanceX, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(t.distanceY, std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(t.distanceZ, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(t.yawThreshold, std::numeric_limits<std::int32_t>::min());
    // Minus the most negative yaw threshold is the largest left limit there is.
    EXPECT_EQ(t.yawLeftLimit, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(t.pitchUpThreshold, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(t.pitchDownThreshold, -1);
}

TEST(ThresholdFile, SaveWritesTheSevenLinesAndLoadsBack)
{
    TemporaryFolder folder;
    DetectionThresholds saved;
    saved.distanceX = 25;
    saved.distanceY = 30;
    saved.distanceZ = 35;
    saved.yawThreshold = 4;
    saved.pitchUpThreshold = 12;
    saved.pitchDownThreshold = -7;
    saved.rollThreshold = 15;
    ASSERT_TRUE(ThresholdFile::Save(saved));
    EXPECT_EQ(ReadText("configuracion"), "Distancia X:25\nDistancia Y:30\nDistancia Z:35\nAngulo GiroX:4\n"
                                         "Angulo GiroY Arriba:12\nAngulo GiroY Abajo:-7\nAngulo GiroZ:15\n");
    DetectionThresholds loaded;
    ASSERT_TRUE(ThresholdFile::Load(loaded));
    EXPECT_EQ(loaded.distanceZ, 35);
    EXPECT_EQ(loaded.yawLeftLimit, -4);
    EXPECT_EQ(loaded.pitchDownThreshold, -7);
    EXPECT_FALSE(std::filesystem::exists("configuracion.tmp"));
}

TEST(ThresholdFile, FailedSaveKeepsThePreviousFile)
{
    TemporaryFolder folder;
    WriteText("configuracion", kDefaultFile);
    // The replacement cannot be written beside it.
    std::filesystem::create_directory("configuracion.tmp");
    DetectionThresholds changed;
    changed.distanceX = 60;
    EXPECT_FALSE(ThresholdFile::Save(changed));
    EXPECT_EQ(ReadText("configuracion"), kDefaultFile);
}

TEST(ThresholdFile, ReadOnlyFileIsNotReplaced)
{
    if (RunningAsRoot())
        GTEST_SKIP() << "read-only files are writable for root";
    TemporaryFolder folder;
    WriteText("configuracion", kDefaultFile);
    ::chmod("configuracion", 0444);
    DetectionThresholds changed;
    changed.distanceX = 60;
    EXPECT_FALSE(ThresholdFile::Save(changed));
    EXPECT_EQ(ReadText("configuracion"), kDefaultFile);
    EXPECT_FALSE(std::filesystem::exists("configuracion.tmp"));
}

TEST(ThresholdFile, UnreadableFileIsLeftAlone)
{
    if (RunningAsRoot())
        GTEST_SKIP() << "every file is readable for root";
    TemporaryFolder folder;
    const std::string text = "Distancia X:55\n";
    WriteText("configuracion", text);
    ::chmod("configuracion", 0200);
    DetectionThresholds thresholds;
    EXPECT_FALSE(ThresholdFile::Load(thresholds));
    ExpectDefaults(thresholds);
    ::chmod("configuracion", 0600);
    EXPECT_EQ(ReadText("configuracion"), text);
}

TEST(ThresholdFile, FolderNamedConfiguracionGivesFalseAndDefaults)
{
    TemporaryFolder folder;
    std::filesystem::create_directory("configuracion");
    DetectionThresholds thresholds;
    thresholds.rollThreshold = 3;
    EXPECT_FALSE(ThresholdFile::Load(thresholds));
    ExpectDefaults(thresholds);
    EXPECT_FALSE(ThresholdFile::Save(thresholds));
    EXPECT_TRUE(std::filesystem::is_directory("configuracion"));
    EXPECT_FALSE(std::filesystem::exists("configuracion.tmp"));
}

TEST(ThresholdFile, UnwritableFolderGivesFalseAndDefaults)
{
    TemporaryFolder folder;
    const std::filesystem::path previous = std::filesystem::current_path();
    // Root may write anywhere except into /proc.
    if (RunningAsRoot()) {
        std::filesystem::current_path("/proc");
    } else {
        std::filesystem::create_directory("locked");
        std::filesystem::permissions("locked", std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
        std::filesystem::current_path("locked");
    }
    DetectionThresholds thresholds;
    thresholds.distanceY = 5;
    EXPECT_FALSE(ThresholdFile::Load(thresholds));
    ExpectDefaults(thresholds);
    EXPECT_FALSE(ThresholdFile::Save(thresholds));
    EXPECT_FALSE(std::filesystem::exists("configuracion"));
    std::filesystem::current_path(previous);
}
