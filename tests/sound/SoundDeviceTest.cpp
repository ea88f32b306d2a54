#include "sound/SoundDevice.h"

#include "FakeAudioBackend.h"
#include "SoundTestFolder.h"
#include "platform/MessageBox.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using Strings = std::vector<std::string>;

namespace {

const char* const kNoInterface = "SoundPlugin ERROR: no se pudo obtener la interfaz IDirectSound";
const char* const kSetFailed = "Error en fijar IDirectSound";
const char* const kNoCooperativeLevel = "SoundPlugin ERROR: no se pudo fijar el nivel cooperativo";
const char* const kNoPrimary = "SoundPlugin ERROR: no se pudo crear el buffer primario";
const char* const kPrimaryFailed = "Fallo en crear el buffer primario";
const char* const kNoFormat = "SoundPlugin WARNING: no se pudo fijar el formato del buffer primario";
const char* const kNoSecondary = "SoundPlugin ERROR: no se pudo crear el buffer secundario";
const char* const kNoSecondaryShort = "no se pudo crear el buffer secundario";
const char* const kNoLock = "SoundPlugin ERROR: no se pudo hacer lock en el buffer secundario";

class SoundDeviceTest : public testing::Test {
protected:
    // A device on a fake backend; the log and the copied samples stay readable after it is gone.
    std::unique_ptr<SoundDevice> MakeDevice(const FakeAudioBackend::Settings& settings = {})
    {
        return std::make_unique<SoundDevice>(std::make_unique<FakeAudioBackend>(log, settings, &filled));
    }
    std::unique_ptr<SoundDevice> MakeLoadedDevice(const FakeAudioBackend::Settings& settings = {})
    {
        auto device = MakeDevice(settings);
        EXPECT_TRUE(device->Init(22050, 2, 6));
        EXPECT_TRUE(device->FillClipBuffer(0, clip.data(), static_cast<int>(clip.size())));
        EXPECT_TRUE(device->FillClipBuffer(1, clip.data(), static_cast<int>(clip.size())));
        log.clear();
        return device;
    }

    Strings log;
    Strings filled;
    MessageCapture messages;
    std::string clip = DistinctSamples(100);
};

}  // namespace

TEST_F(SoundDeviceTest, InitOpensTheDeviceInOrderAndShowsNothing)
{
    auto device = MakeDevice();
    EXPECT_TRUE(device->Init(22050, 2, 6));
    EXPECT_EQ(log, (Strings{"OpenDevice", "CreateContext 22050", "MakeContextCurrent", "OutputRate"}));
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(SoundDeviceTest, EachRefusedSetUpStepShowsItsTwoMessagesInOrderAndStops)
{
    struct Case {
        FakeAudioBackend::Settings settings;
        Strings messages;
        Strings calls;
    };
    FakeAudioBackend::Settings noDevice, noContext, notCurrent;
    noDevice.openDevice = false;
    noContext.createContext = false;
    notCurrent.makeContextCurrent = false;
    const Case cases[] = {
        {noDevice, {kNoInterface, kSetFailed}, {"OpenDevice"}},
        {noContext, {kNoCooperativeLevel, kSetFailed}, {"OpenDevice", "CreateContext 22050"}},
        {notCurrent, {kNoPrimary, kPrimaryFailed}, {"OpenDevice", "CreateContext 22050", "MakeContextCurrent"}},
    };
    for (const Case& c : cases) {
        log.clear();
        messages.Clear();
        auto device = MakeDevice(c.settings);
        EXPECT_FALSE(device->Init(22050, 2, 6));
        EXPECT_EQ(messages.Texts(), c.messages);
        EXPECT_EQ(log, c.calls);
        for (const ShownMessage& message : messages.Messages())
            EXPECT_EQ(message.caption, "Error!");
        // A device that failed to open plays nothing and survives its clean-up.
        EXPECT_FALSE(device->Play(0, false));
        EXPECT_FALSE(device->IsPlaying(0));
    }
}

TEST_F(SoundDeviceTest, AnotherOutputRateIsOnlyAWarning)
{
    FakeAudioBackend::Settings settings;
    settings.outputRate = 44100;
    auto device = MakeDevice(settings);
    EXPECT_TRUE(device->Init(22050, 2, 6));
    EXPECT_EQ(messages.Texts(), (Strings{kNoFormat}));
    EXPECT_EQ(messages.Messages()[0].caption, "Error!");
    EXPECT_TRUE(device->FillClipBuffer(0, clip.data(), static_cast<int>(clip.size())));
}

TEST_F(SoundDeviceTest, FillCopiesTheClipOnceAt22050HzWithTheDeviceChannels)
{
    auto device = MakeDevice();
    ASSERT_TRUE(device->Init(44100, 2, 6));
    log.clear();
    messages.Clear();
    EXPECT_TRUE(device->FillClipBuffer(1, clip.data(), 400));
    EXPECT_EQ(log, (Strings{"CreateBuffer", "FillBuffer 101 400 2 22050"}));
    EXPECT_EQ(filled, (Strings{clip}));
}

TEST_F(SoundDeviceTest, APartialFrameAtTheEndIsLeftOut)
{
    auto device = MakeDevice();
    ASSERT_TRUE(device->Init(22050, 2, 6));
    // Only the 399 bytes of the clip are handed over: a whole frame more would read past them.
    EXPECT_TRUE(device->FillClipBuffer(0, clip.data(), 399));
    EXPECT_EQ(log.back(), "FillBuffer 101 396 2 22050");
    EXPECT_EQ(filled, (Strings{clip.substr(0, 396)}));

    auto mono = MakeDevice();
    ASSERT_TRUE(mono->Init(22050, 1, 6));
    EXPECT_TRUE(mono->FillClipBuffer(0, clip.data(), 5));
    EXPECT_EQ(log.back(), "FillBuffer 101 4 1 22050");
}

TEST_F(SoundDeviceTest, AClipWithoutAWholeFrameIsRefusedBeforeAnyBufferIsMade)
{
    auto device = MakeDevice();
    ASSERT_TRUE(device->Init(22050, 2, 6));
    for (int size : {0, 1, 3}) {
        log.clear();
        messages.Clear();
        EXPECT_FALSE(device->FillClipBuffer(0, clip.data(), size)) << size;
        EXPECT_EQ(messages.Texts(), (Strings{kNoSecondary, kNoSecondaryShort})) << size;
        EXPECT_TRUE(log.empty()) << size;
    }
    EXPECT_FALSE(device->Play(0, false));
}

TEST_F(SoundDeviceTest, RefusedClipBuffersShowTheirMessages)
{
    FakeAudioBackend::Settings noBuffer, noFill;
    noBuffer.createBuffer = false;
    noFill.fillBuffer = false;

    auto device = MakeDevice(noBuffer);
    ASSERT_TRUE(device->Init(22050, 2, 6));
    EXPECT_FALSE(device->FillClipBuffer(0, clip.data(), 400));
    EXPECT_EQ(messages.Texts(), (Strings{kNoSecondary, kNoSecondaryShort}));

    messages.Clear();
    auto unfilled = MakeDevice(noFill);
    ASSERT_TRUE(unfilled->Init(22050, 2, 6));
    EXPECT_FALSE(unfilled->FillClipBuffer(0, clip.data(), 400));
    EXPECT_EQ(messages.Texts(), (Strings{kNoLock}));
}

TEST_F(SoundDeviceTest, ClipsBeyondTheBufferCountOrChannelsOtherThanMonoOrStereoAreRefused)
{
    auto device = MakeDevice();
    ASSERT_TRUE(device->Init(22050, 2, 1));
    EXPECT_TRUE(device->FillClipBuffer(0, clip.data(), 400));
    EXPECT_FALSE(device->FillClipBuffer(1, clip.data(), 400));
    EXPECT_FALSE(device->FillClipBuffer(-1, clip.data(), 400));
    EXPECT_FALSE(device->Play(1, false));
    EXPECT_FALSE(device->IsPlaying(1));

    auto many = MakeDevice();
    ASSERT_TRUE(many->Init(22050, 2, 20));
    EXPECT_FALSE(many->FillClipBuffer(16, clip.data(), 400));

    auto surround = MakeDevice();
    ASSERT_TRUE(surround->Init(22050, 6, 6));
    EXPECT_FALSE(surround->FillClipBuffer(0, clip.data(), 400));
    EXPECT_EQ(messages.Texts().size(), 8u);
}

TEST_F(SoundDeviceTest, PlayStartsAFreshVoiceOnTheClipBufferWithoutCopyingSamples)
{
    auto device = MakeLoadedDevice();
    EXPECT_FALSE(device->IsPlaying(0));
    EXPECT_TRUE(log.empty());  // an empty slot is not even asked
    EXPECT_TRUE(device->Play(0, false));
    EXPECT_TRUE(device->IsPlaying(0));
    EXPECT_FALSE(device->IsPlaying(1));
    EXPECT_EQ(log, (Strings{"CreateVoice 101", "StartVoice 103 once", "IsVoicePlaying 103"}));
    log.clear();
    EXPECT_TRUE(device->Play(1, true));
    EXPECT_TRUE(device->Play(0, false));
    EXPECT_EQ(log, (Strings{"CreateVoice 102", "StartVoice 104 loop", "DeleteVoice 103", "CreateVoice 101",
                            "StartVoice 105 once"}));
    EXPECT_EQ(filled.size(), 2u);  // the two fills, nothing more
}

TEST_F(SoundDeviceTest, AVoiceThatCannotBeMadeGivesFalseAndAnEmptySlot)
{
    FakeAudioBackend::Settings settings;
    settings.createVoice = false;
    auto device = MakeLoadedDevice(settings);
    EXPECT_FALSE(device->Play(0, false));
    EXPECT_FALSE(device->IsPlaying(0));
    EXPECT_EQ(log, (Strings{"CreateVoice 101"}));
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(SoundDeviceTest, RefillingAClipReleasesItsVoiceAndOldBuffer)
{
    auto device = MakeLoadedDevice();
    ASSERT_TRUE(device->Play(0, false));
    log.clear();
    EXPECT_TRUE(device->FillClipBuffer(0, clip.data(), 8));
    EXPECT_EQ(log, (Strings{"CreateBuffer", "DeleteVoice 103", "DeleteBuffer 101", "FillBuffer 104 8 2 22050"}));
    EXPECT_FALSE(device->IsPlaying(0));
}

TEST_F(SoundDeviceTest, DestructionDeletesVoicesBeforeBuffers)
{
    auto device = MakeLoadedDevice();
    ASSERT_TRUE(device->Play(1, false));
    device.reset();
    EXPECT_EQ(log, (Strings{"CreateVoice 102", "StartVoice 103 once", "DeleteVoice 103", "DeleteBuffer 101",
                            "DeleteBuffer 102"}));
}
