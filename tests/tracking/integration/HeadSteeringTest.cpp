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

// A scripted head, as eye and mouth samples, steers the real camera through the real level map
// with real sound (OpenAL's null backend).
TEST(HeadSteering, DriftNearerRollThenAWall)
{
    ::setenv("ALSOFT_DRIVERS", "null", 0);
    TemporaryFolder folder;
    std::filesystem::create_directory_symlink(BRUMARIA_SOURCE_DIR "/data/snd", "snd");
    SoundPlugin sound;
    ASSERT_TRUE(sound.Init(22050, 2, 6) && sound.LoadClips());
    CLevelMap map;
    CCamera camera;
    DebugWindowRecorder windows;
    MotionInterpreter interpreter(windows);
    interpreter.SetWorld(&camera, &map);
    interpreter.SetRestPose(100, 100, 140, 100, 120, 160);
    interpreter.UpdatePixelThresholds();
    // Eyes 40 pixels apart about (120 + x, 100), the mouth 60 + nearer below them.
    const auto head = [&](int frames, float x, float nearer, float rollDegrees) {
        const float dx = 20.0f * std::cos(rollDegrees * float(M_PI) / 180.0f);
        const float dy = 20.0f * std::sin(rollDegrees * float(M_PI) / 180.0f);
        for (int i = 0; i < frames; ++i)
            interpreter.AddSample(120 + x - dx, 100 - dy, 120 + x + dx, 100 + dy, 120 + x, 160 + nearer);
    };
    const auto heading = [&] { return std::atan2(camera.LookAt().x - camera.Eye().x, camera.LookAt().z - camera.Eye().z); };

    head(10, 0, 0, 0);
    EXPECT_TRUE(camera.Eye() == CCamera().Eye() && camera.LookAt() == CCamera().LookAt()) << "a still face moves nothing";
    // The player leans to their left: the face drifts right in the picture and the viewer strafes left.
    for (int i = 1; i <= 30; ++i)
        head(1, 2.0f * i, 0, 0);
    EXPECT_LT(camera.Eye().x, -0.1f);
    EXPECT_EQ(camera.Eye().z, 0.0f);
    EXPECT_EQ(heading(), 0.0f);
    EXPECT_TRUE(sound.IsPlaying(WalkClip));

    // Back to the middle, then nearer: walks forward.
    head(10, 0, 0, 0);
    const glm::vec3 beforeWalk = camera.Eye();
    head(10, 0, 20, 0);
    EXPECT_GT(camera.Eye().z, beforeWalk.z + 1.0f);
    EXPECT_FALSE(sound.IsPlaying(HitClip));

    // Upright, then rolled with the right eye lower: only turns, to the left.
    head(10, 0, 0, 0);
    const glm::vec3 beforeRoll = camera.Eye();
    head(20, 0, 0, 20);
    EXPECT_LT(heading(), -0.05f);
    EXPECT_EQ(camera.Eye(), beforeRoll);

    // Upright and nearer again: walks on until a wall stops it, with the hit sound.
    head(10, 0, 0, 0);
    glm::vec3 previous = camera.Eye();
    bool blocked = false;
    for (int i = 0; i < 3000 && !blocked; ++i) {
        head(1, 0, 40, 0);
        // A whole step asked for (not one that rounds away) and none taken.
        blocked = camera.Eye() == previous && interpreter.LastPass().dz >= 30;
        previous = camera.Eye();
    }
    ASSERT_TRUE(blocked) << "never reached a wall";
    EXPECT_TRUE(sound.IsPlaying(HitClip));
    head(20, 0, 40, 0);
    EXPECT_EQ(camera.Eye(), previous);
    EXPECT_GT(std::hypot(previous.x, previous.z), 3.0f);
}
