#include "sound/SoundPlugin.h"

#include "../SoundTestFolder.h"
#include "platform/MessageBox.h"

#include <gtest/gtest.h>

#include <cstdlib>

// Without a usable backend (as on a machine without a sound card) OpenAL Soft opens no device.
TEST(SoundWithoutDevice, InitShowsTheTwoMessagesInOrderAndNothingPlays)
{
    setenv("ALSOFT_DRIVERS", "no-such-backend", 1);
    SoundTestFolder folder;
    SoundTestFolder::Write("snd/andar.snd", DistinctSamples(100));
    SoundTestFolder::Write("snd/golpe.snd", DistinctSamples(100));
    MessageCapture messages;
    SoundPlugin plugin;
    EXPECT_FALSE(plugin.Init(22050, 2, 6));
    EXPECT_EQ(messages.Messages(),
              (std::vector<ShownMessage>{{"Error!", "SoundPlugin ERROR: no se pudo obtener la interfaz IDirectSound"},
                                         {"Error!", "Error en fijar IDirectSound"}}));
    EXPECT_FALSE(plugin.LoadClips());
    EXPECT_FALSE(plugin.Play(WalkClip, false));
    EXPECT_FALSE(plugin.IsPlaying(WalkClip));
}
