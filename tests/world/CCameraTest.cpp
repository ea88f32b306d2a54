#include "world/CCamera.h"

#include "sound/SoundPlugin.h"
#include "tests/support/TemporaryFolder.h"
#include "world/CLevelMap.h"

#include <glm/geometric.hpp>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <fstream>
#include <limits>
#include <thread>
#include <vector>

namespace {

void ExpectVec(const glm::vec3& v, float x, float y, float z, float tolerance = 1e-5f)
{
    EXPECT_NEAR(glm::distance(v, glm::vec3(x, y, z)), 0.0f, tolerance) << v.x << ", " << v.y << ", " << v.z;
}

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

}  // namespace

TEST(CCamera, StartPoseResetAndTheInstance)
{
    ASSERT_EQ(CCamera::Instance(), nullptr);
    {
        CLevelMap map;
        CCamera camera;
        EXPECT_EQ(CCamera::Instance(), &camera);
        camera.TurnLeft(0.3f);
        camera.StrafeLeft(map, 0.5f);
        camera.Rise(1.0f);
        camera.LookUp(0.2f);
        camera.Reset();
        EXPECT_EQ(camera.Eye(), glm::vec3(0, 2.5f, 0));
        EXPECT_EQ(camera.LookAt(), glm::vec3(0, 2.5f, 1));
        EXPECT_EQ(camera.Up(), glm::vec3(0, 1, 0));
        EXPECT_EQ(camera.Side(), glm::vec3(0));
        {
            CCamera second;
            EXPECT_EQ(CCamera::Instance(), &second);
        }
        EXPECT_EQ(CCamera::Instance(), nullptr) << "the destroyed camera was the instance";
    }
    CCamera* first = new CCamera;
    CCamera second;
    delete first;
    EXPECT_EQ(CCamera::Instance(), &second) << "a camera no longer the instance leaves the instance alone";
}

// Ground steps ask the map: refused steps change nothing, taken ones move its current cell.
TEST(CCamera, GroundStepsGoThroughTheMap)
{
    CLevelMap map;
    CCamera camera;
    camera.WalkForward(map, 10.0f);
    ExpectVec(camera.Eye(), 0, 2.5f, 3, 0);  // clamped to three
    camera.WalkBackward(map, kNaN);  // a NaN step counts as a long one
    ExpectVec(camera.Eye(), 0, 2.5f, 0, 0);
    camera.StrafeLeft(map, 0.1f);
    ExpectVec(camera.LookAt(), -0.1f, 2.5f, 1);
    ExpectVec(camera.Side(), -1, 0, 0, 0);
    camera.StrafeRight(map, 0.1f);
    camera.TurnRight(static_cast<float>(M_PI / 2));
    ExpectVec(camera.LookAt(), 1, 2.5f, 0);
    for (int i = 0; i < 8; ++i)
        camera.WalkForward(map, 1.0f);
    const glm::vec3 eye = camera.Eye(), lookAt = camera.LookAt();
    camera.WalkForward(map, 1.0f);  // into the door's jamb
    EXPECT_EQ(camera.Eye(), eye);
    EXPECT_EQ(camera.LookAt(), lookAt);
    ExpectVec(eye, 8, 2.5f, 0, 1e-4f);
    EXPECT_EQ(map.GetCurrentCell(), 19);
    camera.StrafeLeft(map, 4.0f);  // north, through the doorway
    ExpectVec(camera.Eye(), 8, 2.5f, 4, 1e-4f);
    EXPECT_EQ(map.GetCurrentCell(), 1);
}

// Each bound is tested before the step, so the last step may carry the view one step past it;
// a NaN passes (comparisons with it are false) and then nothing moves it. Levelling steps back
// outside a dead zone; rolling leaves a straight view alone.
TEST(CCamera, TurnsPitchAndHeightWithTheirBounds)
{
    CCamera camera;
    for (int i = 0; i < 20; ++i)
        camera.LookUp(0.05f);
    EXPECT_LT(static_cast<double>(camera.LookAt().y) - camera.Eye().y, 1.0) << "twenty steps stay just below";
    for (int i = 0; i < 5; ++i)
        camera.LookUp(0.05f);
    EXPECT_NEAR(camera.LookAt().y - camera.Eye().y, 1.05f, 1e-5f);
    camera.Reset();
    for (int i = 0; i < 30; ++i)
        camera.LookDown(0.05f);
    EXPECT_NEAR(camera.LookAt().y - camera.Eye().y, -1.05f, 1e-5f);
    for (float step : {2.45f, 0.1f, 0.1f})
        camera.Rise(step);
    EXPECT_NEAR(camera.Eye().y, 5.05f, 1e-5f);
    EXPECT_NEAR(camera.LookAt().y, 4.0f, 1e-5f);
    for (int i = 0; i < 60; ++i)
        camera.Descend(0.1f);
    EXPECT_LT(camera.Eye().y, 0.0f);
    EXPECT_GT(camera.Eye().y, -0.1f);
    camera.Rise(kNaN);
    camera.Descend(1.0f);
    EXPECT_TRUE(std::isnan(camera.Eye().y));

    for (float sign : {1.0f, -1.0f}) {
        camera.Reset();
        camera.LookUp(sign * 0.0105f);
        for (int i = 0; i < 2; ++i) {
            camera.LevelView();
            EXPECT_NEAR(camera.LookAt().y - camera.Eye().y, sign * 0.0055f, 1e-6f) << "then inside the dead zone";
        }
    }
    camera.Reset();
    camera.RotateZPositive(0.1f);
    ExpectVec(camera.LookAt(), 0, 2.5f, 1, 0);
    camera.TurnRight(static_cast<float>(M_PI / 2));
    camera.RotateZPositive(0.1f);
    ExpectVec(camera.LookAt(), std::cos(0.1f), 2.5f + std::sin(0.1f), 0);
    camera.RotateZNegative(0.1f);
    ExpectVec(camera.LookAt(), 1, 2.5f, 0);
}

// A second step while a clip still sounds does not start it again: the clip ends when the first
// play ends, not a clip's length after the second step.
TEST(CCamera, FootstepsAndHitsDoNotStackWhilePlaying)
{
    using Clock = std::chrono::steady_clock;
    const double clipSeconds = 1.0;
    TemporaryFolder folder{"snd"};
    setenv("ALSOFT_DRIVERS", "null", 1);
    const std::vector<short> samples(static_cast<int>(22050 * clipSeconds) * 2, 20);
    for (const char* clip : {"snd/andar.snd", "snd/golpe.snd"})
        std::ofstream(clip, std::ios::binary).write(reinterpret_cast<const char*>(samples.data()), samples.size() * 2);
    SoundPlugin sound;
    ASSERT_TRUE(sound.Init(22050, 2, 6));
    ASSERT_TRUE(sound.LoadClips());
    CLevelMap map;
    CCamera camera;
    auto secondsUntilSilent = [&](int clip, Clock::time_point start) {
        while (sound.IsPlaying(clip) && Clock::now() - start < std::chrono::seconds(5))
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return std::chrono::duration<double>(Clock::now() - start).count();
    };
    auto stepTwice = [&](int clip, int otherClip, auto step) {
        const Clock::time_point start = Clock::now();
        step();
        EXPECT_TRUE(sound.IsPlaying(clip));
        EXPECT_FALSE(sound.IsPlaying(otherClip));
        std::this_thread::sleep_for(std::chrono::duration<double>(clipSeconds * 0.5));
        EXPECT_TRUE(sound.IsPlaying(clip));
        step();
        EXPECT_LT(secondsUntilSilent(clip, start), clipSeconds * 1.25);
    };
    stepTwice(WalkClip, HitClip, [&] { camera.StrafeLeft(map, 0.1f); });
    camera.TurnRight(1.5707964f);
    camera.WalkForward(map, 1.0f);
    EXPECT_TRUE(sound.IsPlaying(WalkClip)) << "once it has ended, the next step sounds again";
    for (int i = 0; i < 7; ++i)
        camera.WalkForward(map, 1.0f);
    secondsUntilSilent(WalkClip, Clock::now());
    stepTwice(HitClip, WalkClip, [&] { camera.WalkForward(map, 1.0f); });  // into the door's jamb
}
