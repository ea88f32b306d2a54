#pragma once

#include "sound/AudioBackend.h"

#include <array>
#include <memory>
#include <vector>

// The sound output: one device, one sample buffer per clip holding the clip's samples, and
// per clip the voice of its most recent play. Set-up failures are shown as "Error!" messages
// and give false; failures during play are silent.
//
// The messages keep the DirectSound names users know; the steps they stand for are:
//   "IDirectSound" interface       OpenDevice (alcOpenDevice on the default device)
//   cooperative level              CreateContext (alcCreateContext asking ALC_FREQUENCY = the
//                                  sample rate: the program's own mix on the device)
//   primary buffer                 MakeContextCurrent (alcMakeContextCurrent: the mix that
//                                  clip buffers and voices belong to)
//   primary buffer format          OutputRate: the device mixes at another rate than asked
//                                  (a warning only; OpenAL Soft chooses the output channels)
//   secondary (clip) buffer        CreateBuffer (alGenBuffers); a clip without one whole
//                                  sample frame, or other than mono or stereo, is refused
//   lock and copy                  FillBuffer (alBufferData)
//   duplicate, set position, play  CreateVoice + StartVoice (a new source on the clip's
//                                  buffer starts at its beginning; no samples are copied)
//   status                         IsVoicePlaying (AL_SOURCE_STATE)
class SoundDevice {
public:
    // The caption of every sound message, the clips' too.
    static constexpr const char* kMessageCaption = "Error!";
    // Clips are read at this rate whatever the device's own.
    static constexpr int kClipSampleRate = 22050;
    // Clip indices stay below this and below the buffer count.
    static constexpr int kPlaySlotCount = 16;

    explicit SoundDevice(std::unique_ptr<AudioBackend> backend);
    // Deletes the voices, then the clip buffers, then closes the device.
    ~SoundDevice();
    SoundDevice(const SoundDevice&) = delete;
    SoundDevice& operator=(const SoundDevice&) = delete;

    // Opens the device with room for bufferCount clips; called once.
    bool Init(int sampleRate, int channels, int bufferCount);
    // Copies the clip's samples (16-bit, the device's channel count, 22050 Hz) into its buffer,
    // replacing one filled before. A partial frame at the end is left out.
    bool FillClipBuffer(int clip, const char* samples, int size);
    // Starts a new voice on the clip's buffer from its beginning, releasing the clip's previous
    // voice; false if the clip has no buffer or no voice could be made.
    bool Play(int clip, bool loop);
    // Whether the clip's most recent voice is still playing.
    bool IsPlaying(int clip);

private:
    bool IsUsableClip(int clip) const;
    void ReleaseVoice(int clip);

    std::unique_ptr<AudioBackend> m_backend;
    std::vector<AudioBackend::Handle> m_clipBuffers;
    std::array<AudioBackend::Handle, kPlaySlotCount> m_playSlots{};
    int m_sampleRate = 0;
    int m_channels = 0;
    bool m_initialised = false;
};
