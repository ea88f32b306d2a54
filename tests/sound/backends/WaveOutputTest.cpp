#include "sound/SoundPlugin.h"

#include "../SoundTestFolder.h"
#include "platform/MessageBox.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

using Samples = std::vector<int16_t>;

Samples ToSamples(const std::string& bytes)
{
    Samples samples(bytes.size() / 2);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<int16_t>(static_cast<uint8_t>(bytes[2 * i]) | static_cast<uint8_t>(bytes[2 * i + 1]) << 8);
    return samples;
}

// OpenAL Soft writing its mix to a wave file at 22050 Hz, 16-bit stereo, without dither or
// limiter: a clip played at full gain comes out sample for sample.
class WaveOutputTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "brumaria-wave-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        s_folder = pattern;
        const std::filesystem::path config = s_folder / "alsoft.conf";
        std::string text = "[general]\nfrequency=22050\nsample-type=int16\nchannels=stereo\ndither=false\n"
                           "output-limiter=false\n[wave]\nfile=" + (s_folder / "out.wav").string() + "\n";
        SoundTestFolder::Write(config.string(), text);
        setenv("ALSOFT_CONF", config.c_str(), 1);
        setenv("ALSOFT_DRIVERS", "wave", 1);
    }
    static void TearDownTestSuite()
    {
        std::error_code ignored;
        std::filesystem::remove_all(s_folder, ignored);
    }

    // Loads the clips, plays one to its end and returns everything the device put out.
    static Samples PlayToTheEnd(int clip)
    {
        {
            SoundPlugin plugin;
            EXPECT_TRUE(plugin.Init(22050, 2, 6));
            EXPECT_TRUE(plugin.LoadClips());
            EXPECT_TRUE(plugin.Play(clip, false));
            const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            while (plugin.IsPlaying(clip) && std::chrono::steady_clock::now() < limit)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            EXPECT_FALSE(plugin.IsPlaying(clip));
        }
        // Closing the device has completed the file.
        const std::string wave = SoundTestFolder::Read(s_folder / "out.wav");
        for (size_t at = 12; at + 8 <= wave.size();) {
            uint32_t size;
            std::memcpy(&size, wave.data() + at + 4, 4);
            if (wave.compare(at, 4, "data") == 0)
                return ToSamples(wave.substr(at + 8, size));
            at += 8 + size;
        }
        ADD_FAILURE() << "no data in the wave file";
        return {};
    }

    // Expects the output to be silence, the clip once, silence.
    static void ExpectClipAloneInOutput(const Samples& clip, const Samples& output)
    {
        size_t clipStart = 0;
        while (clipStart < clip.size() && clip[clipStart] == 0)
            ++clipStart;
        size_t outputStart = 0;
        while (outputStart < output.size() && output[outputStart] == 0)
            ++outputStart;
        ASSERT_LT(clipStart, clip.size());
        ASSERT_GE(outputStart, clipStart);
        const size_t begin = outputStart - clipStart;
        EXPECT_EQ(begin % 2, 0u) << "the left and right channels are swapped";
        ASSERT_LE(begin + clip.size(), output.size());
        EXPECT_TRUE(std::equal(clip.begin(), clip.end(), output.begin() + static_cast<std::ptrdiff_t>(begin)));
        const auto after = output.begin() + static_cast<std::ptrdiff_t>(begin + clip.size());
        EXPECT_EQ(std::count(after, output.end(), 0), output.end() - after) << "more than the clip was played";
    }

    static std::filesystem::path s_folder;
    MessageCapture messages;
};

std::filesystem::path WaveOutputTest::s_folder;

}  // namespace

TEST_F(WaveOutputTest, TheProgramsClipsComeOutSampleForSample)
{
    const std::string data = std::string(BRUMARIA_SOURCE_DIR) + "/data/snd/";
    const std::string walk = SoundTestFolder::Read(data + "andar.snd");
    const std::string hit = SoundTestFolder::Read(data + "golpe.snd");
    SoundTestFolder folder;
    SoundTestFolder::Write("snd/andar.snd", walk);
    SoundTestFolder::Write("snd/golpe.snd", hit);
    ExpectClipAloneInOutput(ToSamples(walk), PlayToTheEnd(WalkClip));
    ExpectClipAloneInOutput(ToSamples(hit), PlayToTheEnd(HitClip));
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(WaveOutputTest, An88200ByteClipPlaysForOneSecond)
{
    const std::string second = DistinctSamples(22050);
    ASSERT_EQ(second.size(), 88200u);
    SoundTestFolder folder;
    SoundTestFolder::Write("snd/andar.snd", second);
    SoundTestFolder::Write("snd/golpe.snd", DistinctSamples(10));
    const Samples output = PlayToTheEnd(WalkClip);
    const auto sounding = std::count_if(output.begin(), output.end(), [](int16_t s) { return s != 0; });
    EXPECT_EQ(sounding, 2 * 22050);
    ExpectClipAloneInOutput(ToSamples(second), output);
}

TEST_F(WaveOutputTest, APartialLastFrameIsNotPlayed)
{
    const std::string frames = DistinctSamples(1000);
    SoundTestFolder folder;
    SoundTestFolder::Write("snd/andar.snd", DistinctSamples(10));
    SoundTestFolder::Write("snd/golpe.snd", frames + "\x7f\x7f\x7f");
    ExpectClipAloneInOutput(ToSamples(frames), PlayToTheEnd(HitClip));
}
