#include "app/core/LevelCamera.h"
#include "tests/support/TemporaryFolder.h"
#include "tests/support/tracking/DebugWindowRecorder.h"
#include "tests/support/tracking/OctaveSampleFile.h"
#include "tracking/MotionInterpreter.h"
#include "world/CCamera.h"
#include "world/CLevelMap.h"

#include <gtest/gtest.h>

TEST(ProgramStart, FirstFourSamplesNeverMoveRecordOrShow)
{
    ASSERT_EQ(MotionInterpreter::SampleCount(), 0u) << "needs a process of its own";
    TemporaryFolder folder;
    DebugWindowRecorder windows;
    CLevelMap map;
    CCamera camera;
    LevelCamera steeredCamera(camera, map);
    MotionInterpreter interpreter(windows);
    interpreter.SetCamera(&steeredCamera);
    interpreter.SetRestPose(100, 100, 140, 100, 120, 160);
    interpreter.UpdatePixelThresholds();
    interpreter.ShowValuesWindow();

    // A face far to the side, turned and looking up: every measure wants a move.
    interpreter.SetYawMeasure(20);
    interpreter.SetPitchMeasure(20);
    for (int i = 0; i < 4; ++i) {
        interpreter.AddSample(160, 100, 200, 100, 180, 160);
        interpreter.Interpret();
    }
    EXPECT_EQ(camera.Eye(), CCamera().Eye());
    EXPECT_EQ(camera.LookAt(), CCamera().LookAt());
    EXPECT_TRUE(windows.Shown("Parámetros").empty());

    interpreter.AddSample(160, 100, 200, 100, 180, 160);
    EXPECT_LT(camera.Eye().x, 0.0f);
    EXPECT_EQ(windows.Shown("Parámetros").size(), 1u);
    interpreter.CloseSampleFiles();
    EXPECT_EQ(OctaveSampleFile::Parse(TemporaryFolder::Read("muestrasGiroX.m"), "giroX").samples,
              std::vector<long long>{20});
}
