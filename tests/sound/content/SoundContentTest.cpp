#include "tests/sound/SoundTesting.h"
#include "tests/support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <utility>

TEST(SoundContent, TheCommittedClipsAreTheGeneratorsSoftStereoClipsOfTheRightLength)
{
    TemporaryFolder folder{"snd"};
    ASSERT_EQ(std::system("\"" SNDGEN_PATH "\" snd"), 0);
    for (const auto& [name, seconds] : {std::pair{"andar.snd", 0.3}, std::pair{"golpe.snd", 0.25}}) {
        const std::string bytes = TemporaryFolder::Read(std::string(BRUMARIA_SOURCE_DIR "/data/snd/") + name);
        EXPECT_TRUE(bytes == TemporaryFolder::Read(std::string("snd/") + name))
            << name << " differs from the generator's";
        ASSERT_EQ(bytes.size() % 4, 0u) << name;
        EXPECT_NEAR(bytes.size() / 88200.0, seconds, 0.01) << name;
        // No click: each channel starts and ends at 0 and moves gently over its first and last ms.
        const std::vector<int16_t> samples = ToSamples(bytes);
        const size_t n = samples.size();
        EXPECT_EQ((std::vector<int16_t>{samples[0], samples[1], samples[n - 2], samples[n - 1]}),
                  (std::vector<int16_t>{0, 0, 0, 0}))
            << name;
        int largestStep = 0;
        for (size_t i = 2; i < 44; ++i)
            largestStep = std::max({largestStep, std::abs(samples[i] - samples[i - 2]),
                                    std::abs(samples[n - 1 - i] - samples[n + 1 - i])});
        EXPECT_LT(largestStep, 2000) << name;
    }
}
