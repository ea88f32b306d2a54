#pragma once

#include <memory>

class SoundDevice;
class FileBuffer;

// Clip indices of the two sounds of the walk.
enum SoundClip { WalkClip = 0, HitClip = 1 };

// The walk's two sounds: a footstep for a step taken, a hit for a step refused. Each clip's
// samples are loaded once; a play starts a fresh voice on them from the beginning.
class SoundPlugin {
public:
    // Registers itself as the instance.
    SoundPlugin();
    // Releases the voices, the clip buffers and the device.
    ~SoundPlugin();
    SoundPlugin(const SoundPlugin&) = delete;
    SoundPlugin& operator=(const SoundPlugin&) = delete;

    // The most recently constructed plugin that is still alive, or null (the program makes
    // exactly one).
    static SoundPlugin* Instance();

    // Opens the audio device; failures are shown as messages and give false.
    bool Init(int sampleRate, int channels, int bufferCount);
    // Reads "snd\andar.snd" and "snd\golpe.snd" (in the content folder) into
    // clips 0 and 1. A file that is missing, cannot be read (or is not a regular file) or gives
    // no sound is named in a message.
    bool LoadClips();
    // Whether the clip's last started voice is still playing.
    bool IsPlaying(int clip);
    // Starts the clip from its beginning; false only if no voice could be made.
    bool Play(int clip, bool loop);

private:
    bool FillClip(int clip);

    int m_sampleRate = 0;
    int m_channels = 0;
    std::unique_ptr<SoundDevice> m_device;
    std::unique_ptr<FileBuffer> m_clips[2];
};
