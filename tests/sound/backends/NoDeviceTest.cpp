#include "sound/SoundPlugin.h"

#include "platform/MessageBox.h"

#include <gtest/gtest.h>

#include <cstdlib>

// Without a usable backend (a machine without a sound card) OpenAL Soft opens no device.
TEST(SoundWithoutDevice, InitShowsTheTwoMessagesInOrderAndNothingPlays)
{
    setenv("ALSOFT_DRIVERS", "no-such-backend", 1);
    MessageCapture messages;
    SoundPlugin plugin;
    EXPECT_FALSE(plugin.Init(22050, 2, 6));
    EXPECT_EQ(messages.Messages(),
              (std::vector<ShownMessage>{{"Error!", "SoundPlugin ERROR: no se pudo obtener la interfaz IDirectSound"},
                                         {"Error!", "Error en fijar IDirectSound"}}));
    EXPECT_FALSE(plugin.Play(WalkClip, false));
    EXPECT_FALSE(plugin.IsPlaying(WalkClip));
}
