#include "sound/SoundPlugin.h"

#include "platform/MessageBox.h"
#include "tests/support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

// Real OpenAL Soft on its null backend, in a temporary working folder.
TEST(SoundPlugin, LoadFailuresShowTheirMessagesInOrderAndStillFillTheOtherClip)
{
    setenv("ALSOFT_DRIVERS", "null", 1);
    MessageCapture messages;
    const std::string clip(8820, '\x11');
    const std::string noBuffer = "SoundPlugin ERROR: no se pudo crear el buffer secundario";
    const std::string noBufferShort = "no se pudo crear el buffer secundario";
    const std::string noWalk = "No se puede cargar el sonido del archivo snd/andar.snd";
    // A folder stands for anything that is not a file to read.
    const std::string folderName = "(folder)";
    struct Case {
        std::optional<std::string> walk, hit;
        std::vector<std::string> texts;
        bool hitPlays;
    };
    const Case cases[] = {
        {"", clip, {noBuffer, noBufferShort, noWalk}, true},
        {std::nullopt, clip, {"No se encuentra el archivo snd/andar.snd"}, false},
        {std::nullopt,
         std::nullopt,
         {"No se encuentra el archivo snd/andar.snd", "No se encuentra el archivo snd/golpe.snd"},
         false},
        {clip, folderName, {"No se puede leer el archivo snd/golpe.snd"}, false},
    };
    for (const Case& c : cases) {
        TemporaryFolder folder{"snd"};
        for (const auto& [file, contents] :
             {std::make_pair("snd/andar.snd", c.walk), std::make_pair("snd/golpe.snd", c.hit)}) {
            if (contents == folderName)
                std::filesystem::create_directories(file);
            else if (contents)
                TemporaryFolder::Write(file, *contents);
        }
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
        EXPECT_EQ(SoundPlugin::Instance(), &second);
        EXPECT_FALSE(second.Play(WalkClip, false));
        EXPECT_FALSE(second.IsPlaying(WalkClip));
    }
    EXPECT_EQ(SoundPlugin::Instance(), nullptr);
}
