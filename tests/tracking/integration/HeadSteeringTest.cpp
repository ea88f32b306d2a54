#include "sound/SoundPlugin.h"
#include "tests/tracking/TemporaryFolder.h"
#include "tracking/DebugWindowRecorder.h"
#include "tracking/MotionInterpreter.h"
#include "world/CCamera.h"
#include "world/CLevelMap.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include <stdlib.h>

namespace {

struct Face {
    float leftEyeX, leftEyeY, rightEyeX, rightEyeY, mouthX, mouthY;
};

// Eyes 40 pixels apart about (120, 100), the mouth 60 below.
Face HeadAt(float x, float nearer, float rollDegrees)
{
    const float radians = rollDegrees * 3.14159265f / 180.0f;
    const float dx = 20.0f * std::cos(radians);
    const float dy = 20.0f * std::sin(radians);
    return {120 + x - dx, 100 - dy, 120 + x + dx, 100 + dy, 120 + x, 160 + nearer};
}

// The direction of view about the vertical axis: 0 along +z, negative toward -x (left).
float Heading(const CCamera& camera)
{
    const glm::vec3 view = camera.LookAt() - camera.Eye();
    return std::atan2(view.x, view.z);
}

class HeadSteeringTest : public testing::Test {
protected:
    void SetUp() override
    {
        ::setenv("ALSOFT_DRIVERS", "null", 0);
        std::filesystem::create_directory_symlink(BRUMARIA_SOURCE_DIR "/data/snd", "snd");
        ASSERT_TRUE(sound.Init(22050, 2, 6));
        ASSERT_TRUE(sound.LoadClips());
        interpreter.SetWorld(&camera, &map);
        const Face rest = HeadAt(0, 0, 0);
        interpreter.SetRestPose(rest.leftEyeX, rest.leftEyeY, rest.rightEyeX, rest.rightEyeY,
                                rest.mouthX, rest.mouthY);
        interpreter.UpdatePixelThresholds();
    }

    void Add(const Face& face)
    {
        interpreter.AddSample(face.leftEyeX, face.leftEyeY, face.rightEyeX, face.rightEyeY,
                              face.mouthX, face.mouthY);
    }

    TemporaryFolder folder;
    SoundPlugin sound;
    CLevelMap map;
    CCamera camera;
    DebugWindowRecorder windows;
    MotionInterpreter interpreter{windows};
};

}

TEST_F(HeadSteeringTest, DriftNearerRollThenAWall)
{
    // A still face at rest moves nothing.
    for (int i = 0; i < 10; ++i)
        Add(HeadAt(0, 0, 0));
    EXPECT_EQ(camera.Eye(), glm::vec3(0.0f, 2.5f, 0.0f));
    EXPECT_EQ(camera.LookAt(), glm::vec3(0.0f, 2.5f, 1.0f));

    // The player leans to their left: the face drifts right in the picture, 2 pixels a frame.
    for (int i = 1; i <= 30; ++i)
        Add(HeadAt(2.0f * i, 0, 0));
    EXPECT_LT(camera.Eye().x, -0.1f);
    EXPECT_EQ(camera.Eye().z, 0.0f);
    EXPECT_EQ(Heading(camera), 0.0f);
    EXPECT_TRUE(sound.IsPlaying(WalkClip));

    // Back to the middle, then nearer: walks forward.
    const glm::vec3 beforeWalk = camera.Eye();
    for (int i = 0; i < 10; ++i)
        Add(HeadAt(0, 0, 0));
    for (int i = 0; i < 10; ++i)
        Add(HeadAt(0, 20, 0));
    EXPECT_GT(camera.Eye().z, beforeWalk.z + 1.0f);
    EXPECT_LE(camera.Eye().x, beforeWalk.x);
    EXPECT_FALSE(sound.IsPlaying(HitClip));

    // Upright and at rest distance, then the head rolls (right eye lower): turns left.
    for (int i = 0; i < 10; ++i)
        Add(HeadAt(0, 0, 0));
    const glm::vec3 beforeRoll = camera.Eye();
    for (int i = 0; i < 20; ++i)
        Add(HeadAt(0, 0, 20));
    EXPECT_LT(Heading(camera), -0.05f);
    EXPECT_EQ(camera.Eye(), beforeRoll);

    // Upright and nearer again: walks on until a wall stops it, with the hit sound.
    for (int i = 0; i < 10; ++i)
        Add(HeadAt(0, 0, 0));
    glm::vec3 previous = camera.Eye();
    int blockedAt = -1;
    for (int i = 0; i < 3000 && blockedAt < 0; ++i) {
        Add(HeadAt(0, 40, 0));
        // A whole step asked for (not one that rounds away) and none taken.
        if (camera.Eye() == previous && interpreter.LastPass().dz >= 30)
            blockedAt = i;
        previous = camera.Eye();
    }
    ASSERT_GE(blockedAt, 0) << "never reached a wall";
    EXPECT_TRUE(sound.IsPlaying(HitClip));
    for (int i = 0; i < 20; ++i)
        Add(HeadAt(0, 40, 0));
    EXPECT_EQ(camera.Eye(), previous);
    EXPECT_GT(std::hypot(previous.x, previous.z), 3.0f);
}
