#include "sound/OpenALBackend.h"

#include "SoundTestFolder.h"

#include <gtest/gtest.h>

#include <AL/al.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

// Real OpenAL Soft on its null backend.
class OpenALBackendTest : public testing::Test {
protected:
    OpenALBackendTest()
    {
        setenv("ALSOFT_DRIVERS", "null", 1);
        EXPECT_TRUE(backend.OpenDevice());
        EXPECT_TRUE(backend.CreateContext(22050));
        EXPECT_TRUE(backend.MakeContextCurrent());
    }

    OpenALBackend backend;
    std::string samples = DistinctSamples(2205);
};

}  // namespace

TEST_F(OpenALBackendTest, TheDeviceMixesAtTheRateAskedFor)
{
    EXPECT_EQ(backend.OutputRate(), 22050);
}

TEST_F(OpenALBackendTest, AVoiceSharesItsBufferAndPlaysFromTheStart)
{
    const AudioBackend::Handle buffer = backend.CreateBuffer();
    ASSERT_NE(buffer, 0u);
    ASSERT_TRUE(backend.FillBuffer(buffer, samples.data(), static_cast<int>(samples.size()), 2, 22050));
    ALint size = 0, channels = 0, rate = 0;
    alGetBufferi(buffer, AL_SIZE, &size);
    alGetBufferi(buffer, AL_CHANNELS, &channels);
    alGetBufferi(buffer, AL_FREQUENCY, &rate);
    EXPECT_EQ(size, 8820);
    EXPECT_EQ(channels, 2);
    EXPECT_EQ(rate, 22050);

    const AudioBackend::Handle voice = backend.CreateVoice(buffer);
    ASSERT_NE(voice, 0u);
    ALint shared = 0, offset = -1;
    alGetSourcei(voice, AL_BUFFER, &shared);
    alGetSourcei(voice, AL_SAMPLE_OFFSET, &offset);
    EXPECT_EQ(static_cast<AudioBackend::Handle>(shared), buffer);
    EXPECT_EQ(offset, 0);
    EXPECT_FALSE(backend.IsVoicePlaying(voice));
    backend.StartVoice(voice, false);
    EXPECT_TRUE(backend.IsVoicePlaying(voice));
    backend.DeleteVoice(voice);
    backend.DeleteBuffer(buffer);
    EXPECT_EQ(alGetError(), AL_NO_ERROR);
}

TEST_F(OpenALBackendTest, ALoopingVoiceKeepsPlayingPastItsEnd)
{
    const AudioBackend::Handle buffer = backend.CreateBuffer();
    ASSERT_TRUE(backend.FillBuffer(buffer, samples.data(), 88, 2, 22050));  // 1 ms
    const AudioBackend::Handle looping = backend.CreateVoice(buffer);
    const AudioBackend::Handle once = backend.CreateVoice(buffer);
    backend.StartVoice(looping, true);
    backend.StartVoice(once, false);
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (backend.IsVoicePlaying(once) && std::chrono::steady_clock::now() < limit)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_FALSE(backend.IsVoicePlaying(once));
    EXPECT_TRUE(backend.IsVoicePlaying(looping));
    backend.DeleteVoice(looping);
    backend.DeleteVoice(once);
    backend.DeleteBuffer(buffer);
}

TEST_F(OpenALBackendTest, OnlyMonoAndStereoWholeFramesAreAccepted)
{
    const AudioBackend::Handle buffer = backend.CreateBuffer();
    EXPECT_TRUE(backend.FillBuffer(buffer, samples.data(), 2, 1, 22050));
    EXPECT_FALSE(backend.FillBuffer(buffer, samples.data(), 2, 2, 22050));
    EXPECT_FALSE(backend.FillBuffer(buffer, samples.data(), 24, 6, 22050));
    backend.DeleteBuffer(buffer);
}
