#include "sound/SoundPlugin.h"

#include "platform/ContentPath.h"
#include "sound/FileBuffer.h"
#include "sound/OpenALBackend.h"
#include "sound/SoundDevice.h"

SoundPlugin* SoundPlugin::Instance = nullptr;

SoundPlugin::SoundPlugin()
{
    Instance = this;
}

SoundPlugin::~SoundPlugin()
{
    if (Instance == this)
        Instance = nullptr;
}

bool SoundPlugin::Init(int sampleRate, int channels, int bufferCount)
{
    m_sampleRate = sampleRate;
    m_channels = channels;
    m_device.reset();
    m_device = std::make_unique<SoundDevice>(std::make_unique<OpenALBackend>());
    return m_device->Init(sampleRate, channels, bufferCount);
}

bool SoundPlugin::LoadClips()
{
    // Both files are read before either is looked at.
    m_clips[WalkClip] = std::make_unique<FileBuffer>(NativePath("snd\\andar.snd"));
    m_clips[HitClip] = std::make_unique<FileBuffer>(NativePath("snd\\golpe.snd"));
    if (!m_clips[WalkClip]->Ok() || !m_clips[HitClip]->Ok() || !m_device)
        return false;
    const bool walkFilled = m_device->FillClipBuffer(WalkClip, m_clips[WalkClip]->Data(), m_clips[WalkClip]->Size());
    const bool hitFilled = m_device->FillClipBuffer(HitClip, m_clips[HitClip]->Data(), m_clips[HitClip]->Size());
    return walkFilled && hitFilled;
}

bool SoundPlugin::IsPlaying(int clip)
{
    return m_device && m_device->IsPlaying(clip);
}

bool SoundPlugin::Play(int clip, bool loop)
{
    return m_device && m_device->Play(clip, loop);
}
