// The two ".snd" clips as any bytes, read whole and loaded into OpenAL's null output: a clip
// loads exactly when it holds a whole stereo frame, and a loaded clip plays.
#include "FuzzInput.h"
#include "FuzzSupport.h"

#include "sound/FileBuffer.h"
#include "sound/SoundPlugin.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

SoundPlugin* g_plugin = nullptr;

constexpr std::size_t kStereoFrameBytes = 4;

void RequireReadBack(const char* path, const std::string& bytes)
{
    const FileBuffer buffer(path);
    fuzz::Require(buffer.Ok(), "a clip file reads");
    fuzz::Require(buffer.Size() == static_cast<int>(bytes.size()), "a clip file reads whole");
    fuzz::Require(bytes.empty() ? buffer.Data() == nullptr
                                : std::memcmp(buffer.Data(), bytes.data(), bytes.size()) == 0,
                  "a clip file reads byte for byte");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setenv("ALSOFT_DRIVERS", "null", 1);
    fuzz::EnterTemporaryFolder();
    fuzz::SilenceMessages();
    std::filesystem::create_directory("snd");
    g_plugin = new SoundPlugin;
    fuzz::Require(g_plugin->Init(22050, 2, 6), "the null output opens");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    const std::string walk = input.Bytes(input.Raw<std::uint16_t>());
    const std::string hit = input.Rest();
    fuzz::WriteFile("snd/andar.snd", walk);
    fuzz::WriteFile("snd/golpe.snd", hit);
    RequireReadBack("snd/andar.snd", walk);
    RequireReadBack("snd/golpe.snd", hit);

    const bool loaded = g_plugin->LoadClips();
    fuzz::Require(loaded == (walk.size() >= kStereoFrameBytes && hit.size() >= kStereoFrameBytes),
                  "clips load exactly when each holds a whole frame");
    if (loaded) {
        fuzz::Require(g_plugin->Play(WalkClip, false), "the walk clip plays");
        g_plugin->IsPlaying(WalkClip);
        fuzz::Require(g_plugin->Play(HitClip, true), "the hit clip plays");
        g_plugin->IsPlaying(HitClip);
    }
    return 0;
}
