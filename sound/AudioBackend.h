#pragma once

// The few audio-library calls the sound device is built on, so that a test can stand in for
// the library, fail any step and count the calls. The program uses OpenALBackend.
class AudioBackend {
public:
    // Names the library gives to buffers and voices; 0 is none.
    using Handle = unsigned int;

    virtual ~AudioBackend() = default;

    // Opens the default output device.
    virtual bool OpenDevice() = 0;
    // Creates this program's mixing context on the device, asking for the sample rate.
    virtual bool CreateContext(int sampleRate) = 0;
    // Makes the context the one that buffers and voices belong to and are mixed by.
    virtual bool MakeContextCurrent() = 0;
    // The sample rate the device really mixes at.
    virtual int OutputRate() = 0;

    // An empty sample buffer, or 0.
    virtual Handle CreateBuffer() = 0;
    // Copies 16-bit samples (size bytes, whole frames of the channel count) into the buffer.
    virtual bool FillBuffer(Handle buffer, const void* samples, int size, int channels, int sampleRate) = 0;
    virtual void DeleteBuffer(Handle buffer) = 0;

    // A voice that plays the buffer's samples, shared and not copied, from their start; or 0.
    virtual Handle CreateVoice(Handle buffer) = 0;
    virtual void StartVoice(Handle voice, bool loop) = 0;
    virtual bool IsVoicePlaying(Handle voice) = 0;
    virtual void DeleteVoice(Handle voice) = 0;
};
