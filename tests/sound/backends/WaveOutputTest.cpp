#include "sound/SoundPlugin.h"

#include "platform/MessageBox.h"
#include "tests/sound/SoundTesting.h"
#include "tests/support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

using Samples = std::vector<int16_t>;

// From the first to the last stereo frame that is not silent.
Samples Sounding(const Samples& samples)
{
    const auto sounding = [](int16_t sample) { return sample != 0; };
    const auto first = std::find_if(samples.begin(), samples.end(), sounding) - samples.begin();
    const auto end = samples.rend() - std::find_if(samples.rbegin(), samples.rend(), sounding);
    if (end <= first)
        return {};
    return Samples(samples.begin() + first / 2 * 2, samples.begin() + (end + 1) / 2 * 2);
}

// Loads the clips of the working folder, plays one to its end and returns what the device wrote
// to the wave file (complete once the device is closed), from the first to the last sound.
Samples PlayToTheEnd(int clip, const std::filesystem::path& wavePath)
{
    {
        SoundPlugin plugin;
        EXPECT_TRUE(plugin.Init(22050, 2, 6));
        EXPECT_TRUE(plugin.LoadClips());
        EXPECT_TRUE(plugin.Play(clip, false));
        EXPECT_TRUE(plugin.IsPlaying(clip));
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (plugin.IsPlaying(clip) && std::chrono::steady_clock::now() < limit)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    const std::string wave = TemporaryFolder::Read(wavePath);
    const size_t data = wave.find("data");  // the last chunk: its tag, its size, the samples
    return Sounding(ToSamples(data == std::string::npos ? "" : wave.substr(data + 8)));
}

}  // namespace

// OpenAL Soft mixing into a wave file at 22050 Hz, 16-bit stereo, without dither or limiter:
// a clip played at full gain comes out sample for sample, each channel in its place.
TEST(WaveOutput, TheProgramsClipsComeOutSampleForSample)
{
    TemporaryFolder folder{"snd"};
    const std::filesystem::path wavePath = folder.Path() / "out.wav";
    TemporaryFolder::Write("alsoft.conf",
                           "[general]\nfrequency=22050\nsample-type=int16\nchannels=stereo\ndither=false\n"
                           "output-limiter=false\n[wave]\nfile=" +
                               wavePath.string() + "\n");
    setenv("ALSOFT_CONF", (folder.Path() / "alsoft.conf").c_str(), 1);
    setenv("ALSOFT_DRIVERS", "wave", 1);
    MessageCapture messages;

    std::filesystem::copy(BRUMARIA_SOURCE_DIR "/data/snd", "snd", std::filesystem::copy_options::recursive);
    EXPECT_EQ(PlayToTheEnd(WalkClip, wavePath), Sounding(ToSamples(TemporaryFolder::Read("snd/andar.snd"))));
    EXPECT_EQ(PlayToTheEnd(HitClip, wavePath), Sounding(ToSamples(TemporaryFolder::Read("snd/golpe.snd"))));
    EXPECT_TRUE(messages.Messages().empty());
}
