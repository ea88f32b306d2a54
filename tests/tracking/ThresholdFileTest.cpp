#include "tests/tracking/TemporaryFolder.h"
#include "tracking/ThresholdFile.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

using namespace std::string_literals;

namespace {

const std::string kDefaultFile = "Distancia X:20\nDistancia Y:20\nDistancia Z:20\nAngulo GiroX:3\n"
                                 "Angulo GiroY Arriba:10\nAngulo GiroY Abajo:-1\nAngulo GiroZ:10\n";

// The seven stored values in file order.
using Values = std::array<std::int32_t, 7>;
const Values kDefaults = {20, 20, 20, 3, 10, -1, 10};
constexpr std::int32_t kMax = 2147483647;
constexpr std::int32_t kMin = -kMax - 1;

Values InFileOrder(const DetectionThresholds& t)
{
    return {t.distanceX, t.distanceY, t.distanceZ, t.yawThreshold, t.pitchUpThreshold, t.pitchDownThreshold, t.rollThreshold};
}

const struct {
    const char* name;
    std::string text;
    Values expected;
} kLoads[] = {
    {"CRLF", "Distancia X:21\r\nDistancia Y:22\r\nDistancia Z:23\r\nAngulo GiroX:5\r\nAngulo GiroY Arriba:9\r\n"
             "Angulo GiroY Abajo:-2\r\nAngulo GiroZ:8\r\n", {21, 22, 23, 5, 9, -2, 8}},
    {"white space, no final line end", "Distancia X: 31  \n\nDistancia Y:\t32\t\nDistancia Z:+33 \nAngulo GiroX:6   \r\n"
                                       "  Angulo GiroY Arriba:7\nAngulo GiroY Abajo:-3\nAngulo GiroZ:12", {31, 32, 33, 6, 7, -3, 12}},
    {"a line that does not match", "Distancia X:41\nDistancia Y:42\nDistancia z:43\nAngulo GiroX:7\n", {41, 42, 20, 3, 10, -1, 10}},
    {"not a number", "Distancia X:abc\nDistancia Y:50\n", kDefaults},
    {"binary garbage", "\x7f" "ELF\0\xff\xfe\r\n:-\x80" "Distancia X:\0" "99\n"s, kDefaults},
    {"beyond 32 bits", "Distancia X:99999999999999999999999\nDistancia Y:-2147483649\nDistancia Z:2147483647\n"
                       "Angulo GiroX:-2147483648\nAngulo GiroY Arriba:4294967306\n", {kMax, kMin, kMax, kMin, kMax, -1, 10}},
};

}

TEST(ThresholdFile, LoadSetsTheDefaultsThenReadsUntilALineDoesNotMatch)
{
    TemporaryFolder folder;
    for (const auto& c : kLoads) {
        TemporaryFolder::Write("configuracion", c.text);
        DetectionThresholds t;
        t.distanceX = 777;
        EXPECT_TRUE(ThresholdFile::Load(t)) << c.name;
        EXPECT_EQ(InFileOrder(t), c.expected) << c.name;
        // Minus the most negative yaw threshold is the largest left limit there is.
        EXPECT_EQ(t.yawLeftLimit, c.expected[3] == kMin ? kMax : -c.expected[3]) << c.name;
        EXPECT_EQ(TemporaryFolder::Read("configuracion"), c.text) << c.name << ": left as it was";
    }
}

TEST(ThresholdFile, MissingFileIsCreatedWithTheDefaultLinesAndSavesAreByteExact)
{
    TemporaryFolder folder;
    DetectionThresholds t;
    t.yawThreshold = 99;
    ASSERT_TRUE(ThresholdFile::Load(t));
    EXPECT_EQ(InFileOrder(t), kDefaults);
    EXPECT_EQ(TemporaryFolder::Read("configuracion"), kDefaultFile);

    t = {25, -4, 4, 12, -7, 15, 35, 30};  // in member order
    ASSERT_TRUE(ThresholdFile::Save(t));
    EXPECT_EQ(TemporaryFolder::Read("configuracion"), "Distancia X:25\nDistancia Y:30\nDistancia Z:35\nAngulo GiroX:4\n"
                                                      "Angulo GiroY Arriba:12\nAngulo GiroY Abajo:-7\nAngulo GiroZ:15\n");
    EXPECT_FALSE(std::filesystem::exists("configuracion.tmp"));
}

TEST(ThresholdFile, AFailedSaveKeepsThePreviousFile)
{
    TemporaryFolder folder;
    TemporaryFolder::Write("configuracion", kDefaultFile);
    DetectionThresholds changed;
    changed.distanceX = 60;
    // The replacement cannot be written beside the file.
    std::filesystem::create_directory("configuracion.tmp");
    EXPECT_FALSE(ThresholdFile::Save(changed));
    std::filesystem::remove("configuracion.tmp");
    if (::geteuid() != 0) {  // root writes any file
        ::chmod("configuracion", 0444);
        EXPECT_FALSE(ThresholdFile::Save(changed));
    }
    EXPECT_EQ(TemporaryFolder::Read("configuracion"), kDefaultFile);
}

TEST(ThresholdFile, AFolderOfThatNameOrAnUnwritableFolderGivesFalseAndDefaults)
{
    TemporaryFolder folder;
    std::filesystem::create_directory("configuracion");
    std::filesystem::create_directory("locked");
    std::filesystem::permissions("locked", std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    // Root may write anywhere except into /proc.
    for (const char* where : {".", ::geteuid() == 0 ? "/proc" : "locked"}) {
        std::filesystem::current_path(where);
        DetectionThresholds t;
        t.distanceY = 5;
        EXPECT_FALSE(ThresholdFile::Load(t)) << where;
        EXPECT_EQ(InFileOrder(t), kDefaults) << where;
        EXPECT_FALSE(ThresholdFile::Save(t)) << where;
        EXPECT_FALSE(std::filesystem::exists("configuracion.tmp")) << where;
    }
}
