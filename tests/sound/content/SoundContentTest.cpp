#include "../SoundTestFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

// The largest jump between neighbouring samples of one channel within the first or last
// frames, and the first and last frames themselves.
struct Edges {
    int firstFrame[2];
    int lastFrame[2];
    int largestStep;
};

Edges EdgesOf(const std::string& bytes, int frames)
{
    auto sample = [&](int frame, int channel) {
        const size_t at = static_cast<size_t>(frame) * 4 + static_cast<size_t>(channel) * 2;
        return static_cast<int>(static_cast<int16_t>(static_cast<uint8_t>(bytes[at]) | static_cast<uint8_t>(bytes[at + 1]) << 8));
    };
    const int total = static_cast<int>(bytes.size() / 4);
    Edges edges{{sample(0, 0), sample(0, 1)}, {sample(total - 1, 0), sample(total - 1, 1)}, 0};
    for (int channel = 0; channel < 2; ++channel) {
        for (int i = 1; i < frames; ++i) {
            edges.largestStep = std::max(edges.largestStep, std::abs(sample(i, channel) - sample(i - 1, channel)));
            edges.largestStep = std::max(edges.largestStep, std::abs(sample(total - i, channel) - sample(total - 1 - i, channel)));
        }
    }
    return edges;
}

}  // namespace

TEST(SoundContent, TheGeneratorMakesTheCommittedClipsByteForByte)
{
    SoundTestFolder folder;
    const std::string command = std::string("\"") + SNDGEN_PATH + "\" snd";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::string data = std::string(BRUMARIA_SOURCE_DIR) + "/data/snd/";
    for (const char* name : {"andar.snd", "golpe.snd"}) {
        const std::string made = SoundTestFolder::Read(std::string("snd/") + name);
        EXPECT_FALSE(made.empty()) << name;
        EXPECT_TRUE(made == SoundTestFolder::Read(data + name)) << name << " differs from the generator's output";
    }
}

TEST(SoundContent, ClipsAreWholeStereoFramesOfTheRightLengthStartingAndEndingInSilence)
{
    const std::string data = std::string(BRUMARIA_SOURCE_DIR) + "/data/snd/";
    struct Clip {
        const char* name;
        double seconds;
    };
    for (const Clip& clip : {Clip{"andar.snd", 0.3}, Clip{"golpe.snd", 0.25}}) {
        const std::string bytes = SoundTestFolder::Read(data + clip.name);
        ASSERT_EQ(bytes.size() % 4, 0u) << clip.name;
        EXPECT_NEAR(bytes.size() / 88200.0, clip.seconds, 0.01) << clip.name;
        // No click: the clip fades in from and out to silence within the first and last ms.
        const Edges edges = EdgesOf(bytes, 22);
        EXPECT_EQ(edges.firstFrame[0], 0) << clip.name;
        EXPECT_EQ(edges.firstFrame[1], 0) << clip.name;
        EXPECT_EQ(edges.lastFrame[0], 0) << clip.name;
        EXPECT_EQ(edges.lastFrame[1], 0) << clip.name;
        EXPECT_LT(edges.largestStep, 2000) << clip.name;
    }
}
