#include "sound/OpenALBackend.h"

#include <AL/al.h>
#include <AL/alc.h>

OpenALBackend::~OpenALBackend()
{
    if (m_context) {
        if (alcGetCurrentContext() == m_context)
            alcMakeContextCurrent(nullptr);
        alcDestroyContext(m_context);
    }
    if (m_device)
        alcCloseDevice(m_device);
}

bool OpenALBackend::OpenDevice()
{
    m_device = alcOpenDevice(nullptr);
    return m_device != nullptr;
}

bool OpenALBackend::CreateContext(int sampleRate)
{
    const ALCint attributes[] = {ALC_FREQUENCY, sampleRate, 0};
    m_context = alcCreateContext(m_device, attributes);
    return m_context != nullptr;
}

bool OpenALBackend::MakeContextCurrent()
{
    return alcMakeContextCurrent(m_context) == ALC_TRUE;
}

int OpenALBackend::OutputRate()
{
    ALCint rate = 0;
    alcGetIntegerv(m_device, ALC_FREQUENCY, 1, &rate);
    return rate;
}

AudioBackend::Handle OpenALBackend::CreateBuffer()
{
    alGetError();
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    return alGetError() == AL_NO_ERROR ? buffer : 0;
}

bool OpenALBackend::FillBuffer(Handle buffer, const void* samples, int size, int channels, int sampleRate)
{
    if (channels != 1 && channels != 2)
        return false;
    alGetError();
    alBufferData(buffer, channels == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16, samples, size, sampleRate);
    return alGetError() == AL_NO_ERROR;
}

void OpenALBackend::DeleteBuffer(Handle buffer)
{
    alDeleteBuffers(1, &buffer);
}

AudioBackend::Handle OpenALBackend::CreateVoice(Handle buffer)
{
    alGetError();
    ALuint source = 0;
    alGenSources(1, &source);
    if (alGetError() != AL_NO_ERROR)
        return 0;
    alSourcei(source, AL_BUFFER, static_cast<ALint>(buffer));
    if (alGetError() != AL_NO_ERROR) {
        alDeleteSources(1, &source);
        return 0;
    }
    return source;
}

void OpenALBackend::StartVoice(Handle voice, bool loop)
{
    alSourcei(voice, AL_LOOPING, loop ? AL_TRUE : AL_FALSE);
    alSourcePlay(voice);
}

bool OpenALBackend::IsVoicePlaying(Handle voice)
{
    ALint state = 0;
    alGetSourcei(voice, AL_SOURCE_STATE, &state);
    return state == AL_PLAYING;
}

void OpenALBackend::DeleteVoice(Handle voice)
{
    alDeleteSources(1, &voice);
}
