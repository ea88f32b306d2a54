#include "sound/SoundDevice.h"

#include "platform/MessageBox.h"

#include <algorithm>

namespace {

void ShowSoundMessage(const char* text)
{
    ShowMessageBox(SoundDevice::kMessageCaption, text);
}

}  // namespace

SoundDevice::SoundDevice(std::unique_ptr<AudioBackend> backend) : m_backend(std::move(backend)) {}

SoundDevice::~SoundDevice()
{
    for (int clip = 0; clip < kPlaySlotCount; ++clip)
        ReleaseVoice(clip);
    for (AudioBackend::Handle buffer : m_clipBuffers) {
        if (buffer)
            m_backend->DeleteBuffer(buffer);
    }
}

bool SoundDevice::Init(int sampleRate, int channels, int bufferCount)
{
    m_sampleRate = sampleRate;
    m_channels = channels;
    if (!m_backend->OpenDevice()) {
        ShowSoundMessage("SoundPlugin ERROR: no se pudo obtener la interfaz IDirectSound");
        ShowSoundMessage("Error en fijar IDirectSound");
        return false;
    }
    if (!m_backend->CreateContext(sampleRate)) {
        ShowSoundMessage("SoundPlugin ERROR: no se pudo fijar el nivel cooperativo");
        ShowSoundMessage("Error en fijar IDirectSound");
        return false;
    }
    if (!m_backend->MakeContextCurrent()) {
        ShowSoundMessage("SoundPlugin ERROR: no se pudo crear el buffer primario");
        ShowSoundMessage("Fallo en crear el buffer primario");
        return false;
    }
    if (m_backend->OutputRate() != sampleRate)
        ShowSoundMessage("SoundPlugin WARNING: no se pudo fijar el formato del buffer primario");
    m_initialised = true;
    m_clipBuffers.assign(std::max(bufferCount, 0), 0);
    m_playSlots.fill(0);
    return true;
}

bool SoundDevice::FillClipBuffer(int clip, const char* samples, int size)
{
    // A file cut in the middle of a frame keeps its whole frames only, so nothing past its
    // end is read and the channels stay in step.
    const bool supported = m_channels == 1 || m_channels == 2;
    const int frameBytes = m_channels * 2;
    const int wholeFrameBytes = supported ? size - size % frameBytes : 0;
    AudioBackend::Handle buffer = 0;
    if (IsUsableClip(clip) && supported && wholeFrameBytes > 0)
        buffer = m_backend->CreateBuffer();
    if (!buffer) {
        ShowSoundMessage("SoundPlugin ERROR: no se pudo crear el buffer secundario");
        ShowSoundMessage("no se pudo crear el buffer secundario");
        return false;
    }
    ReleaseVoice(clip);
    if (m_clipBuffers[clip])
        m_backend->DeleteBuffer(m_clipBuffers[clip]);
    m_clipBuffers[clip] = buffer;
    if (!m_backend->FillBuffer(buffer, samples, wholeFrameBytes, m_channels, kClipSampleRate)) {
        ShowSoundMessage("SoundPlugin ERROR: no se pudo hacer lock en el buffer secundario");
        return false;
    }
    return true;
}

bool SoundDevice::Play(int clip, bool loop)
{
    if (!IsUsableClip(clip) || !m_clipBuffers[clip])
        return false;
    ReleaseVoice(clip);
    m_playSlots[clip] = m_backend->CreateVoice(m_clipBuffers[clip]);
    if (!m_playSlots[clip])
        return false;
    m_backend->StartVoice(m_playSlots[clip], loop);
    return true;
}

bool SoundDevice::IsPlaying(int clip)
{
    return IsUsableClip(clip) && m_playSlots[clip] && m_backend->IsVoicePlaying(m_playSlots[clip]);
}

bool SoundDevice::IsUsableClip(int clip) const
{
    return m_initialised && clip >= 0 && clip < kPlaySlotCount && clip < static_cast<int>(m_clipBuffers.size());
}

void SoundDevice::ReleaseVoice(int clip)
{
    if (m_playSlots[clip]) {
        m_backend->DeleteVoice(m_playSlots[clip]);
        m_playSlots[clip] = 0;
    }
}
