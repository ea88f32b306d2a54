#include "WorldTestFolder.h"

#include "sound/SoundPlugin.h"
#include "world/CCamera.h"
#include "world/CLevelMap.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr double kClipSeconds = 0.6;

// A quiet stereo clip of kClipSeconds at 22050 Hz.
void WriteClip(const char* path)
{
    const int frames = static_cast<int>(22050 * kClipSeconds);
    std::vector<short> samples(frames * 2);
    for (int i = 0; i < frames; ++i)
        samples[2 * i] = samples[2 * i + 1] = static_cast<short>((i % 50) - 25);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(samples.data()), samples.size() * sizeof(short));
}

// Seconds from `start` until the clip stops playing.
double SecondsUntilSilent(SoundPlugin& sound, int clip, Clock::time_point start)
{
    while (sound.IsPlaying(clip) && Clock::now() - start < std::chrono::seconds(5))
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return std::chrono::duration<double>(Clock::now() - start).count();
}

class CCameraSound : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("ALSOFT_DRIVERS", "null", 1);
        std::filesystem::create_directory("snd");
        WriteClip("snd/andar.snd");
        WriteClip("snd/golpe.snd");
        ASSERT_TRUE(m_sound.Init(22050, 2, 6));
        ASSERT_TRUE(m_sound.LoadClips());
    }

    WorldTestFolder m_folder;
    SoundPlugin m_sound;
    CLevelMap m_map;
    CCamera m_camera;
};

}  // namespace

// A second step while the footstep still sounds does not start it again: the clip ends when the
// first play ends, not a clip's length after the second step.
TEST_F(CCameraSound, FootstepDoesNotStackWhilePlaying)
{
    const Clock::time_point start = Clock::now();
    m_camera.StrafeLeft(m_map, 0.1f);
    EXPECT_TRUE(m_sound.IsPlaying(WalkClip));
    EXPECT_FALSE(m_sound.IsPlaying(HitClip));
    std::this_thread::sleep_for(std::chrono::duration<double>(kClipSeconds * 0.6));
    ASSERT_TRUE(m_sound.IsPlaying(WalkClip));
    m_camera.StrafeRight(m_map, 0.1f);
    EXPECT_LT(SecondsUntilSilent(m_sound, WalkClip, start), kClipSeconds * 1.3);
    m_camera.WalkForward(m_map, 1.0f);
    EXPECT_TRUE(m_sound.IsPlaying(WalkClip)) << "once it has ended, the next step sounds again";
}

TEST_F(CCameraSound, HitDoesNotStackWhilePlaying)
{
    m_camera.TurnRight(1.5707964f);
    for (int i = 0; i < 8; ++i)
        m_camera.WalkForward(m_map, 1.0f);
    SecondsUntilSilent(m_sound, WalkClip, Clock::now());
    const Clock::time_point start = Clock::now();
    m_camera.WalkForward(m_map, 1.0f);  // into the door's jamb
    EXPECT_TRUE(m_sound.IsPlaying(HitClip));
    EXPECT_FALSE(m_sound.IsPlaying(WalkClip));
    std::this_thread::sleep_for(std::chrono::duration<double>(kClipSeconds * 0.6));
    ASSERT_TRUE(m_sound.IsPlaying(HitClip));
    m_camera.WalkForward(m_map, 1.0f);
    EXPECT_LT(SecondsUntilSilent(m_sound, HitClip, start), kClipSeconds * 1.3);
}

TEST(CCameraWithoutSound, StepsWithoutASoundPluginStillMove)
{
    ASSERT_EQ(SoundPlugin::Instance, nullptr);
    CLevelMap map;
    CCamera camera;
    camera.WalkForward(map, 1.0f);
    EXPECT_EQ(camera.Eye().z, 1.0f);
    camera.StrafeLeft(map, 10.0f);  // into the door's jamb
    EXPECT_EQ(camera.Eye().x, 0.0f);
}
