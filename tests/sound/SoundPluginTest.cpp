#include "sound/SoundPlugin.h"

#include "SoundTestFolder.h"
#include "platform/MessageBox.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <sys/inotify.h>
#include <unistd.h>

using Strings = std::vector<std::string>;

namespace {

const char* const kNoSecondary = "SoundPlugin ERROR: no se pudo crear el buffer secundario";
const char* const kNoSecondaryShort = "no se pudo crear el buffer secundario";

// Real OpenAL Soft playing into its null backend, in a temporary working folder.
class SoundPluginTest : public testing::Test {
protected:
    SoundPluginTest() { setenv("ALSOFT_DRIVERS", "null", 1); }

    static void WriteClips(const std::string& walk, const std::string& hit)
    {
        SoundTestFolder::Write("snd/andar.snd", walk);
        SoundTestFolder::Write("snd/golpe.snd", hit);
    }

    // Waits (up to a generous limit) for the clip to stop; true if it did.
    static bool WaitUntilStopped(SoundPlugin& plugin, int clip)
    {
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (plugin.IsPlaying(clip)) {
            if (std::chrono::steady_clock::now() > limit)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return true;
    }

    SoundTestFolder folder;
    MessageCapture messages;
};

// The names of the files opened in a folder while it is watched.
class OpenedFiles {
public:
    explicit OpenedFiles(const char* folder)
        : m_fd(inotify_init1(IN_NONBLOCK))
    {
        EXPECT_GE(inotify_add_watch(m_fd, folder, IN_OPEN), 0);
    }
    ~OpenedFiles() { close(m_fd); }

    std::set<std::string> Names() const
    {
        std::set<std::string> names;
        alignas(inotify_event) char events[4096];
        ssize_t length;
        while ((length = read(m_fd, events, sizeof events)) > 0) {
            for (char* p = events; p < events + length;) {
                const inotify_event* event = reinterpret_cast<const inotify_event*>(p);
                if (event->len > 0)
                    names.insert(event->name);
                p += sizeof(inotify_event) + event->len;
            }
        }
        return names;
    }

private:
    int m_fd;
};

}  // namespace

TEST(SoundPluginInstance, IsTheMostRecentlyConstructedUntilItIsDestroyed)
{
    EXPECT_EQ(SoundPlugin::Instance, nullptr);
    auto first = std::make_unique<SoundPlugin>();
    EXPECT_EQ(SoundPlugin::Instance, first.get());
    auto second = std::make_unique<SoundPlugin>();
    EXPECT_EQ(SoundPlugin::Instance, second.get());
    first.reset();
    EXPECT_EQ(SoundPlugin::Instance, second.get());
    second.reset();
    EXPECT_EQ(SoundPlugin::Instance, nullptr);
}

TEST_F(SoundPluginTest, LoadsBothClipsAndPlaysEachOnceFromTheStart)
{
    WriteClips(DistinctSamples(2205), DistinctSamples(1102));
    SoundPlugin plugin;
    ASSERT_TRUE(plugin.Init(22050, 2, 6));
    ASSERT_TRUE(plugin.LoadClips());
    EXPECT_TRUE(messages.Messages().empty());

    EXPECT_FALSE(plugin.IsPlaying(WalkClip));  // the first request finds an empty slot
    EXPECT_TRUE(plugin.Play(WalkClip, false));
    EXPECT_TRUE(plugin.IsPlaying(WalkClip));
    EXPECT_FALSE(plugin.IsPlaying(HitClip));
    EXPECT_TRUE(WaitUntilStopped(plugin, WalkClip));

    // Once stopped, the clip plays again.
    EXPECT_TRUE(plugin.Play(WalkClip, false));
    EXPECT_TRUE(plugin.IsPlaying(WalkClip));
    EXPECT_TRUE(plugin.Play(HitClip, false));
    EXPECT_TRUE(plugin.IsPlaying(HitClip));
    EXPECT_TRUE(WaitUntilStopped(plugin, HitClip));
    EXPECT_TRUE(WaitUntilStopped(plugin, WalkClip));
}

TEST_F(SoundPluginTest, TheProgramsOwnClipsLoad)
{
    const std::string data = std::string(BRUMARIA_SOURCE_DIR) + "/data/snd/";
    WriteClips(SoundTestFolder::Read(data + "andar.snd"), SoundTestFolder::Read(data + "golpe.snd"));
    SoundPlugin plugin;
    ASSERT_TRUE(plugin.Init(22050, 2, 6));
    EXPECT_TRUE(plugin.LoadClips());
    EXPECT_TRUE(plugin.Play(WalkClip, false));
    EXPECT_TRUE(plugin.IsPlaying(WalkClip));
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(SoundPluginTest, EmptyWalkClipShowsBothMessagesButTheHitClipIsStillFilled)
{
    WriteClips("", DistinctSamples(2205));
    SoundPlugin plugin;
    ASSERT_TRUE(plugin.Init(22050, 2, 6));
    EXPECT_FALSE(plugin.LoadClips());
    EXPECT_EQ(messages.Texts(), (Strings{kNoSecondary, kNoSecondaryShort}));
    EXPECT_EQ(messages.Messages()[0].caption, "Error!");
    EXPECT_FALSE(plugin.Play(WalkClip, false));
    EXPECT_TRUE(plugin.Play(HitClip, false));
    EXPECT_TRUE(plugin.IsPlaying(HitClip));
}

TEST_F(SoundPluginTest, TwoEmptyClipsShowFourMessagesInOrder)
{
    WriteClips("", "");
    SoundPlugin plugin;
    ASSERT_TRUE(plugin.Init(22050, 2, 6));
    EXPECT_FALSE(plugin.LoadClips());
    EXPECT_EQ(messages.Texts(), (Strings{kNoSecondary, kNoSecondaryShort, kNoSecondary, kNoSecondaryShort}));
}

TEST_F(SoundPluginTest, ClipFilesOfOneAndThreeBytesAreRefusedWithTheirMessages)
{
    WriteClips("a", "bcd");
    SoundPlugin plugin;
    ASSERT_TRUE(plugin.Init(22050, 2, 6));
    EXPECT_FALSE(plugin.LoadClips());
    EXPECT_EQ(messages.Texts(), (Strings{kNoSecondary, kNoSecondaryShort, kNoSecondary, kNoSecondaryShort}));
    EXPECT_FALSE(plugin.Play(WalkClip, false));
    EXPECT_FALSE(plugin.Play(HitClip, false));
    EXPECT_FALSE(plugin.IsPlaying(HitClip));
}

TEST_F(SoundPluginTest, AMissingClipFailsSilentlyAfterBothFilesAreRead)
{
    SoundTestFolder::Write("snd/golpe.snd", DistinctSamples(100));
    SoundPlugin plugin;
    ASSERT_TRUE(plugin.Init(22050, 2, 6));
    OpenedFiles opened("snd");
    EXPECT_FALSE(plugin.LoadClips());
    EXPECT_EQ(opened.Names(), (std::set<std::string>{"golpe.snd"}));
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_FALSE(plugin.Play(WalkClip, false));
    EXPECT_FALSE(plugin.Play(HitClip, false));
    EXPECT_FALSE(plugin.IsPlaying(HitClip));

    // Missing second file, and no snd folder at all: the same.
    SoundTestFolder::Write("snd/andar.snd", DistinctSamples(100));
    std::filesystem::remove("snd/golpe.snd");
    EXPECT_FALSE(plugin.LoadClips());
    std::filesystem::remove_all("snd");
    EXPECT_FALSE(plugin.LoadClips());
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(SoundPluginTest, AClipCutInsideAFrameLoadsItsWholeFrames)
{
    WriteClips(DistinctSamples(2205) + "x", DistinctSamples(1102) + "yzw");
    SoundPlugin plugin;
    ASSERT_TRUE(plugin.Init(22050, 2, 6));
    EXPECT_TRUE(plugin.LoadClips());
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_TRUE(plugin.Play(WalkClip, false));
    EXPECT_TRUE(plugin.IsPlaying(WalkClip));
}

TEST_F(SoundPluginTest, WithoutDeviceOrClipsNothingPlaysAndNothingBreaks)
{
    WriteClips(DistinctSamples(100), DistinctSamples(100));
    SoundPlugin plugin;
    EXPECT_FALSE(plugin.Play(WalkClip, false));
    EXPECT_FALSE(plugin.IsPlaying(WalkClip));
    EXPECT_FALSE(plugin.LoadClips());
    ASSERT_TRUE(plugin.Init(22050, 2, 6));
    EXPECT_FALSE(plugin.Play(HitClip, false));
    EXPECT_FALSE(plugin.IsPlaying(HitClip));
    EXPECT_FALSE(plugin.Play(7, false));
    EXPECT_FALSE(plugin.IsPlaying(-1));
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(SoundPluginTest, InitAgainReplacesTheDevice)
{
    WriteClips(DistinctSamples(2205), DistinctSamples(2205));
    SoundPlugin plugin;
    ASSERT_TRUE(plugin.Init(22050, 2, 6));
    ASSERT_TRUE(plugin.LoadClips());
    ASSERT_TRUE(plugin.Play(WalkClip, false));
    ASSERT_TRUE(plugin.Init(22050, 2, 6));
    EXPECT_FALSE(plugin.IsPlaying(WalkClip));
    EXPECT_FALSE(plugin.Play(WalkClip, false));
    ASSERT_TRUE(plugin.LoadClips());
    EXPECT_TRUE(plugin.Play(WalkClip, false));
}
