#include "sound/SoundPlugin.h"

#include "platform/MessageBox.h"
#include "tests/support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

// Real OpenAL Soft on its null backend, in a temporary working folder.
TEST(SoundPlugin, LoadFailuresShowTheirMessagesInOrderAndStillFillTheOtherClip)
{
    setenv("ALSOFT_DRIVERS", "null", 1);
    MessageCapture messages;
    const std::string clip(8820, '\x11');
    const std::string noBuffer = "SoundPlugin ERROR: no se pudo crear el buffer secundario";
    const std::string noBufferShort = "no se pudo crear el buffer secundario";
    struct Case { std::optional<std::string> walk, hit; std::vector<std::string> texts; bool hitPlays; };
    const Case cases[] = {
        {"", clip, {noBuffer, noBufferShort}, true},
        {"", "", {noBuffer, noBufferShort, noBuffer, noBufferShort}, false},
        // Shorter than one stereo frame of two bytes a channel.
        {"a", "bcd", {noBuffer, noBufferShort, noBuffer, noBufferShort}, false},
        {std::nullopt, clip, {}, false},  // a missing file shows nothing
        {clip, std::nullopt, {}, false},
    };
    for (const Case& c : cases) {
        TemporaryFolder folder{"snd"};
        if (c.walk)
            TemporaryFolder::Write("snd/andar.snd", *c.walk);
        if (c.hit)
            TemporaryFolder::Write("snd/golpe.snd", *c.hit);
        messages.Clear();
        SoundPlugin plugin;
        ASSERT_TRUE(plugin.Init(22050, 2, 6));
        EXPECT_FALSE(plugin.LoadClips());
        EXPECT_EQ(messages.Texts(), c.texts);
        EXPECT_FALSE(plugin.Play(WalkClip, false));
        EXPECT_EQ(plugin.Play(HitClip, false), c.hitPlays);
    }
}

TEST(SoundPlugin, InstanceIsTheLatestPluginUntilItIsDestroyedAndPlaysNothingBeforeInit)
{
    auto first = std::make_unique<SoundPlugin>();
    {
        SoundPlugin second;
        first.reset();
        EXPECT_EQ(SoundPlugin::Instance, &second);
        EXPECT_FALSE(second.Play(WalkClip, false));
        EXPECT_FALSE(second.IsPlaying(WalkClip));
    }
    EXPECT_EQ(SoundPlugin::Instance, nullptr);
}
