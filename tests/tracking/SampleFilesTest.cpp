#include "tests/tracking/OctaveSampleFile.h"
#include "tests/tracking/TemporaryFolder.h"
#include "tracking/PassRecord.h"
#include "tracking/SampleFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

TEST(SampleFiles, HeaderThenOneValuePerPassInTheFileOrderThenTheClosingStatement)
{
    TemporaryFolder folder;
    TemporaryFolder::Write("muestrasGiroY.m", "giroY =[0,1,2,3]\nold");
    SampleFiles files;
    ASSERT_TRUE(files.Open());
    files.Append({1, 2, 3, 4, 5, 6});
    files.Append({-7, 0, -9, -10, 11, -2147483647 - 1});
    files.Close();
    files.Close();
    files.Append({9, 9, 9, 9, 9, 9});
    const std::vector<std::vector<long long>> expected = {{1, -7}, {2, 0}, {3, -9}, {4, -10}, {5, 11}, {6, -2147483648LL}};
    for (int i = 0; i < 6; ++i) {
        const OctaveSampleFile file = OctaveSampleFile::Parse(TemporaryFolder::Read(kSampleFileNames[i][0]), kSampleFileNames[i][1]);
        EXPECT_EQ(file.error, "") << kSampleFileNames[i][0];
        EXPECT_EQ(file.samples, expected[i]) << kSampleFileNames[i][0];
    }
    EXPECT_EQ(TemporaryFolder::Read("muestrasPosX.m"), "movX =[0,1,-7]\nmovX = [(1:columns(movX)); movX]'");
}

TEST(SampleFiles, OneFileThatCannotBeCreatedLeavesNoneOpen)
{
    TemporaryFolder folder;
    std::filesystem::create_directory("muestrasGiroX.m");
    SampleFiles files;
    EXPECT_FALSE(files.Open());
    files.Append({1, 2, 3, 4, 5, 6});
    files.Close();
    // The three before it were created, but hold no headerless values.
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(TemporaryFolder::Read(kSampleFileNames[i][0]), "") << kSampleFileNames[i][0];
    EXPECT_FALSE(std::filesystem::exists("muestrasGiroY.m"));
}

TEST(PassRecord, ExcessesBeyondTheTruncatedThresholdsWithTheirSigns)
{
    // dx, dy, signedDy, dz, face right of rest, nearer; then movX, movY, movZ. The dead zones
    // are 12.8, 26 and 12 pixels; those of y and z include their threshold.
    const std::int32_t cases[][9] = {
        {20, 0, 0, 0, 1, 0, -8, 0, 0},   {20, 0, 0, 0, 0, 0, 8, 0, 0},      {12, 0, 0, 0, 1, 0, 0, 0, 0},
        {13, 0, 0, 0, 1, 0, -1, 0, 0},   {0, 40, 40, 20, 0, 1, 0, -14, 8}, {0, 40, -40, 20, 0, 0, 0, 14, -8},
        {0, 26, 26, 12, 0, 1, 0, 0, 0},
    };
    for (const auto& c : cases) {
        PassRecord pass;
        std::tie(pass.dx, pass.dy, pass.signedDy, pass.dz) = std::make_tuple(c[0], c[1], c[2], c[3]);
        std::tie(pass.faceRightOfRest, pass.faceNearer) = std::make_tuple(c[4] != 0, c[5] != 0);
        std::tie(pass.thresholdX, pass.thresholdY, pass.thresholdZ) = std::make_tuple(12.8f, 26.0f, 12.0f);
        const SampleValues s = pass.Samples();
        EXPECT_EQ(std::make_tuple(s.movX, s.movY, s.movZ), std::make_tuple(c[6], c[7], c[8])) << c[0] << " " << c[1];
    }
}
