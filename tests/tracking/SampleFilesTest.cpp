#include "tests/tracking/OctaveSampleFile.h"
#include "tests/tracking/TemporaryFolder.h"
#include "tests/tracking/TextFiles.h"
#include "tracking/PassRecord.h"
#include "tracking/SampleFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

struct SampleFileName {
    const char* file;
    const char* variable;
};

const SampleFileName kFiles[] = {
    {"muestrasPosX.m", "movX"},   {"muestrasPosY.m", "movY"},   {"muestrasPosZ.m", "movZ"},
    {"muestrasGiroX.m", "giroX"}, {"muestrasGiroY.m", "giroY"}, {"muestrasGiroZ.m", "giroZ"},
};

OctaveSampleFile Parsed(const SampleFileName& name)
{
    return OctaveSampleFile::Parse(ReadText(name.file), name.variable);
}

PassRecord SideStepPass(std::int32_t dx, bool faceRightOfRest)
{
    PassRecord pass;
    pass.dx = dx;
    pass.faceRightOfRest = faceRightOfRest;
    pass.thresholdX = 12.8f;
    pass.thresholdY = 26.0f;
    pass.thresholdZ = 12.0f;
    return pass;
}

}

TEST(SampleFiles, RunWithoutSamplesGivesSixEmptyVectors)
{
    TemporaryFolder folder;
    {
        SampleFiles files;
        ASSERT_TRUE(files.Open());
    }
    EXPECT_EQ(ReadText("muestrasPosX.m"), "movX =[0]\nmovX = [(1:columns(movX)); movX]'");
    EXPECT_EQ(ReadText("muestrasGiroZ.m"), "giroZ =[0]\ngiroZ = [(1:columns(giroZ)); giroZ]'");
    for (const SampleFileName& name : kFiles) {
        const OctaveSampleFile file = Parsed(name);
        EXPECT_EQ(file.error, "") << name.file;
        EXPECT_TRUE(file.samples.empty()) << name.file;
    }
}

TEST(SampleFiles, EachPassAppendsOneValueToEachFile)
{
    TemporaryFolder folder;
    SampleFiles files;
    ASSERT_TRUE(files.Open());
    files.Append({1, 2, 3, 4, 5, 6});
    files.Append({-7, 0, -9, -10, 11, -2147483647 - 1});
    files.Close();
    files.Close();
    files.Append({9, 9, 9, 9, 9, 9});

    const std::vector<std::vector<long long>> expected = {
        {1, -7}, {2, 0}, {3, -9}, {4, -10}, {5, 11}, {6, -2147483648LL}};
    for (int i = 0; i < 6; ++i) {
        const OctaveSampleFile file = Parsed(kFiles[i]);
        EXPECT_EQ(file.error, "") << kFiles[i].file;
        EXPECT_EQ(file.samples, expected[i]) << kFiles[i].file;
    }
    EXPECT_EQ(ReadText("muestrasPosX.m"), "movX =[0,1,-7]\nmovX = [(1:columns(movX)); movX]'");
}

TEST(SampleFiles, NewRunOverwritesThePreviousFiles)
{
    TemporaryFolder folder;
    WriteText("muestrasGiroY.m", "giroY =[0,1,2,3]\nold");
    SampleFiles files;
    ASSERT_TRUE(files.Open());
    files.Append({0, 0, 0, 0, 5, 0});
    files.Close();
    EXPECT_EQ(Parsed(kFiles[4]).samples, std::vector<long long>{5});
}

TEST(SampleFiles, OneFileThatCannotBeCreatedLeavesNoneOpen)
{
    TemporaryFolder folder;
    std::filesystem::create_directory("muestrasGiroX.m");
    SampleFiles files;
    EXPECT_FALSE(files.Open());
    EXPECT_FALSE(files.IsOpen());
    files.Append({1, 2, 3, 4, 5, 6});
    files.Close();
    // The files before it were created but hold no headerless values.
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(ReadText(kFiles[i].file), "") << kFiles[i].file;
    EXPECT_FALSE(std::filesystem::exists("muestrasGiroY.m"));
}

TEST(PassRecord, SideStepExcessAroundAFractionalThreshold)
{
    // 12 - 20 toward the left, 20 - 12 toward the right, nothing inside the dead zone.
    EXPECT_EQ(SideStepPass(20, true).Samples().movX, -8);
    EXPECT_EQ(SideStepPass(20, false).Samples().movX, 8);
    EXPECT_EQ(SideStepPass(12, true).Samples().movX, 0);
    EXPECT_EQ(SideStepPass(12, false).Samples().movX, 0);
    // 13 is past 12.8 but only by what the truncated threshold leaves.
    EXPECT_EQ(SideStepPass(13, true).Samples().movX, -1);
    // A side-step that did not run records 0 for a positive threshold.
    EXPECT_EQ(SideStepPass(0, true).Samples().movX, 0);
}

TEST(PassRecord, VerticalAndWalkingExcessSigns)
{
    PassRecord pass = SideStepPass(0, false);
    pass.dy = 40;
    pass.signedDy = 40;
    pass.dz = 20;
    pass.faceNearer = true;
    EXPECT_EQ(pass.Samples().movY, -14);  // descend
    EXPECT_EQ(pass.Samples().movZ, 8);    // forward
    pass.signedDy = -40;
    pass.faceNearer = false;
    EXPECT_EQ(pass.Samples().movY, 14);   // rise
    EXPECT_EQ(pass.Samples().movZ, -8);   // back
    // The dead zones of y and z include their threshold.
    pass.dy = 26;
    pass.dz = 12;
    EXPECT_EQ(pass.Samples().movY, 0);
    EXPECT_EQ(pass.Samples().movZ, 0);
}

TEST(PassRecord, TurnsAreTruncatedTowardZero)
{
    PassRecord pass;
    pass.head.average.yaw = -3.9f;
    pass.head.average.pitch = 14.99f;
    pass.head.average.roll = -12;
    const SampleValues values = pass.Samples();
    EXPECT_EQ(values.giroX, -3);
    EXPECT_EQ(values.giroY, 14);
    EXPECT_EQ(values.giroZ, -12);
}
