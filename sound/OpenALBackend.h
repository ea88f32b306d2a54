#pragma once

#include "sound/AudioBackend.h"

#include <AL/alc.h>

// AudioBackend on OpenAL Soft. Buffers are OpenAL buffers (alBufferData copies the samples
// once), voices are OpenAL sources on them; a stereo source is not placed in 3D, so on a
// stereo output its channels come out as they are.
// Buffers and voices belong to the current context: one backend is in use at a time.
// ALSOFT_DRIVERS=null plays into nothing, for machines without a sound card.
class OpenALBackend : public AudioBackend {
public:
    OpenALBackend() = default;
    // Destroys the context and closes the device; buffers and voices are deleted before.
    ~OpenALBackend() override;
    OpenALBackend(const OpenALBackend&) = delete;
    OpenALBackend& operator=(const OpenALBackend&) = delete;

    bool OpenDevice() override;
    bool CreateContext(int sampleRate) override;
    bool MakeContextCurrent() override;
    int OutputRate() override;

    Handle CreateBuffer() override;
    bool FillBuffer(Handle buffer, const void* samples, int size, int channels, int sampleRate) override;
    void DeleteBuffer(Handle buffer) override;

    Handle CreateVoice(Handle buffer) override;
    void StartVoice(Handle voice, bool loop) override;
    bool IsVoicePlaying(Handle voice) override;
    void DeleteVoice(Handle voice) override;

private:
    ALCdevice* m_device = nullptr;
    ALCcontext* m_context = nullptr;
};
