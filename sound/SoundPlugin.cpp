#include "sound/SoundPlugin.h"

#include "platform/ContentPath.h"
#include "platform/FileKind.h"
#include "platform/MessageBox.h"
#include "sound/FileBuffer.h"
#include "sound/OpenALBackend.h"
#include "sound/SoundDevice.h"

namespace {

SoundPlugin* g_instance = nullptr;

constexpr const char* kClipFiles[] = {"snd\\andar.snd", "snd\\golpe.snd"};

}  // namespace

SoundPlugin::SoundPlugin()
{
    g_instance = this;
}

SoundPlugin::~SoundPlugin()
{
    if (g_instance == this)
        g_instance = nullptr;
}

SoundPlugin* SoundPlugin::Instance()
{
    return g_instance;
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
    for (const int clip : {WalkClip, HitClip})
        m_clips[clip] = std::make_unique<FileBuffer>(NativePath(kClipFiles[clip]));
    bool read = true;
    for (const int clip : {WalkClip, HitClip}) {
        if (m_clips[clip]->Ok())
            continue;
        const std::string path = NativePath(kClipFiles[clip]);
        ShowMessageBox(
            SoundDevice::kMessageCaption,
            (KindOfFile(path) == FileKind::Missing ? "No se encuentra el archivo " : "No se puede leer el archivo ") +
                path);
        read = false;
    }
    if (!read || !m_device)
        return false;
    const bool walkFilled = FillClip(WalkClip);
    const bool hitFilled = FillClip(HitClip);
    return walkFilled && hitFilled;
}

bool SoundPlugin::FillClip(int clip)
{
    if (m_device->FillClipBuffer(clip, m_clips[clip]->Data(), m_clips[clip]->Size()))
        return true;
    ShowMessageBox(SoundDevice::kMessageCaption,
                   "No se puede cargar el sonido del archivo " + NativePath(kClipFiles[clip]));
    return false;
}

bool SoundPlugin::IsPlaying(int clip)
{
    return m_device && m_device->IsPlaying(clip);
}

bool SoundPlugin::Play(int clip, bool loop)
{
    return m_device && m_device->Play(clip, loop);
}
