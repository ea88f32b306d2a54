#include "sound/SoundDevice.h"

#include "platform/MessageBox.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

using Strings = std::vector<std::string>;

namespace {

// Stands in for the audio library: logs every call with its arguments, names the handles it
// gives by kind and creation order (buffer1, voice1, ...), refuses the call named `refuse` (a
// refused OutputRate differs). Voices play for ever.
struct FakeAudioBackend : AudioBackend {
    FakeAudioBackend(Strings& log, std::string refuse) : log(log), refuse(std::move(refuse)) {}

    template <typename... Arguments>
    bool Call(const std::string& name, Arguments... arguments)
    {
        std::ostringstream call;
        call << name;
        ((call << ' ' << arguments), ...);
        log.push_back(call.str());
        return name != refuse;
    }
    Handle Named(const std::string& kind)
    {
        names[++handle] = kind + std::to_string(++created[kind]);
        return handle;
    }
    bool OpenDevice() override { return Call("OpenDevice"); }
    bool CreateContext(int r) override { return Call("CreateContext", rate = r); }
    bool MakeContextCurrent() override { return Call("MakeContextCurrent"); }
    int OutputRate() override { return refuse == "OutputRate" ? rate + 1 : rate; }
    Handle CreateBuffer() override { return Call("CreateBuffer") ? Named("buffer") : 0; }
    bool FillBuffer(Handle b, const void*, int n, int c, int r) override
    {
        return Call("FillBuffer", names[b], n, c, r);
    }
    void DeleteBuffer(Handle buffer) override { Call("DeleteBuffer", names[buffer]); }
    Handle CreateVoice(Handle buffer) override { return Call("CreateVoice", names[buffer]) ? Named("voice") : 0; }
    void StartVoice(Handle voice, bool loop) override { Call(loop ? "LoopVoice" : "StartVoice", names[voice]); }
    bool IsVoicePlaying(Handle voice) override { return Call("IsVoicePlaying", names[voice]); }
    void DeleteVoice(Handle voice) override { Call("DeleteVoice", names[voice]); }

    Strings& log;
    std::string refuse;
    int rate = 0;
    Handle handle = 0;
    std::map<Handle, std::string> names;
    std::map<std::string, int> created;
};

class SoundDeviceTest : public testing::Test {
protected:
    // A device on the fake, initialised; the log and the messages start empty.
    std::unique_ptr<SoundDevice> Device(const std::string& refuse = "", int channels = 2, int count = 6)
    {
        auto device = std::make_unique<SoundDevice>(std::make_unique<FakeAudioBackend>(log, refuse));
        EXPECT_TRUE(device->Init(44100, channels, count));
        log.clear();
        messages.Clear();
        return device;
    }

    Strings log;
    MessageCapture messages;
    const std::string clip = std::string(400, 'c');
};

}  // namespace

TEST_F(SoundDeviceTest, InitRunsItsStepsInOrderAndARefusedStepShowsItsMessagesInOrder)
{
    const Strings steps = {"OpenDevice", "CreateContext 22050", "MakeContextCurrent"};
    const std::string setFailed = "Error en fijar IDirectSound";
    const std::string noPrimary = "Fallo en crear el buffer primario";
    struct Case {
        const char* refuse;
        size_t calls;
        Strings texts;
    };
    const Case cases[] = {
        {"", 3, {}},
        {"OutputRate", 3, {"SoundPlugin WARNING: no se pudo fijar el formato del buffer primario"}},  // goes on
        {"CreateContext", 2, {"SoundPlugin ERROR: no se pudo fijar el nivel cooperativo", setFailed}},
        {"MakeContextCurrent", 3, {"SoundPlugin ERROR: no se pudo crear el buffer primario", noPrimary}},
    };
    for (const Case& c : cases) {
        log.clear();
        messages.Clear();
        SoundDevice device(std::make_unique<FakeAudioBackend>(log, c.refuse));
        EXPECT_EQ(device.Init(22050, 2, 6), c.texts.size() < 2) << c.refuse;
        EXPECT_EQ(log, Strings(steps.begin(), steps.begin() + c.calls)) << c.refuse;
        EXPECT_EQ(messages.Texts(), c.texts) << c.refuse;
    }
}

TEST_F(SoundDeviceTest, FillHandsOverTheClipsWholeFramesAt22050HzOrShowsWhyNot)
{
    const Strings noBuffer = {"SoundPlugin ERROR: no se pudo crear el buffer secundario",
                              "no se pudo crear el buffer secundario"};
    const std::string noLock = "SoundPlugin ERROR: no se pudo hacer lock en el buffer secundario";
    struct Case {
        int channels, count, clip, size;
        const char* refuse;
        Strings calls, texts;
    };
    const Case cases[] = {
        {2, 6, 1, 400, "", {"CreateBuffer", "FillBuffer buffer1 400 2 22050"}, {}},
        {2, 6, 0, 399, "", {"CreateBuffer", "FillBuffer buffer1 396 2 22050"}, {}},  // a partial frame is left out
        {1, 6, 0, 5, "", {"CreateBuffer", "FillBuffer buffer1 4 1 22050"}, {}},
        {2, 6, 0, 3, "", {}, noBuffer},  // no whole frame, as in a 0-byte file
        {6, 6, 0, 400, "", {}, noBuffer},  // neither mono nor stereo
        {2, 6, 6, 400, "", {}, noBuffer},  // beyond the buffer count
        {2, 20, 16, 400, "", {}, noBuffer},  // beyond the play slots
        {2, 6, -1, 400, "", {}, noBuffer},
        {2, 6, 0, 400, "CreateBuffer", {"CreateBuffer"}, noBuffer},
        {2, 6, 0, 400, "FillBuffer", {"CreateBuffer", "FillBuffer buffer1 400 2 22050"}, {noLock}},
    };
    for (const Case& c : cases) {
        auto device = Device(c.refuse, c.channels, c.count);
        EXPECT_EQ(device->FillClipBuffer(c.clip, clip.data(), c.size), c.texts.empty()) << c.size;
        EXPECT_EQ(log, c.calls) << c.size;
        EXPECT_EQ(messages.Texts(), c.texts) << c.size;
    }
}

TEST_F(SoundDeviceTest, EachPlayIsAFreshVoiceOnTheClipsBufferThatReplacesTheClipsLastVoice)
{
    auto device = Device();
    ASSERT_TRUE(device->FillClipBuffer(0, clip.data(), 400));  // buffer1
    ASSERT_TRUE(device->FillClipBuffer(1, clip.data(), 400));  // buffer2
    log.clear();
    EXPECT_FALSE(device->IsPlaying(0));  // an empty slot is not asked
    EXPECT_FALSE(device->Play(2, false));  // 2 has no buffer
    EXPECT_TRUE(device->Play(0, false));
    EXPECT_TRUE(device->IsPlaying(0));
    EXPECT_TRUE(device->Play(1, true));
    EXPECT_TRUE(device->Play(0, false));
    EXPECT_EQ(log,
              (Strings{"CreateVoice buffer1", "StartVoice voice1", "IsVoicePlaying voice1", "CreateVoice buffer2",
                       "LoopVoice voice2", "DeleteVoice voice1", "CreateVoice buffer1", "StartVoice voice3"}));
    log.clear();
    EXPECT_TRUE(device->FillClipBuffer(0, clip.data(), 8));
    EXPECT_FALSE(device->IsPlaying(0));
    device.reset();  // voices go before buffers
    EXPECT_EQ(log,
              (Strings{"CreateBuffer", "DeleteVoice voice3", "DeleteBuffer buffer1", "FillBuffer buffer3 8 2 22050",
                       "DeleteVoice voice2", "DeleteBuffer buffer3", "DeleteBuffer buffer2"}));

    // A voice that cannot be made is a silent false.
    device = Device("CreateVoice");
    ASSERT_TRUE(device->FillClipBuffer(0, clip.data(), 400));
    EXPECT_FALSE(device->Play(0, false));
    EXPECT_FALSE(device->IsPlaying(0));
    EXPECT_TRUE(messages.Messages().empty());
}
