#pragma once

#include "sound/AudioBackend.h"

#include <string>
#include <vector>

// Stands in for the audio library: logs every call in order, can refuse any step, and keeps
// what each buffer was filled with.
class FakeAudioBackend : public AudioBackend {
public:
    struct Settings {
        bool openDevice = true;
        bool createContext = true;
        bool makeContextCurrent = true;
        int outputRate = 22050;
        bool createBuffer = true;
        bool fillBuffer = true;
        bool createVoice = true;
    };

    // The log and the settings outlive the backend (the device owns and deletes it).
    FakeAudioBackend(std::vector<std::string>& log, const Settings& settings, std::vector<std::string>* filled = nullptr)
        : m_log(log), m_settings(settings), m_filled(filled)
    {
    }

    bool OpenDevice() override { return Log("OpenDevice", m_settings.openDevice); }
    bool CreateContext(int sampleRate) override
    {
        return Log("CreateContext " + std::to_string(sampleRate), m_settings.createContext);
    }
    bool MakeContextCurrent() override { return Log("MakeContextCurrent", m_settings.makeContextCurrent); }
    int OutputRate() override
    {
        m_log.push_back("OutputRate");
        return m_settings.outputRate;
    }

    Handle CreateBuffer() override
    {
        return Log("CreateBuffer", m_settings.createBuffer) ? NewHandle() : 0;
    }
    bool FillBuffer(Handle buffer, const void* samples, int size, int channels, int sampleRate) override
    {
        if (m_filled)
            m_filled->push_back(std::string(static_cast<const char*>(samples), static_cast<size_t>(size)));
        return Log("FillBuffer " + std::to_string(buffer) + " " + std::to_string(size) + " " +
                       std::to_string(channels) + " " + std::to_string(sampleRate),
                   m_settings.fillBuffer);
    }
    void DeleteBuffer(Handle buffer) override { m_log.push_back("DeleteBuffer " + std::to_string(buffer)); }

    Handle CreateVoice(Handle buffer) override
    {
        return Log("CreateVoice " + std::to_string(buffer), m_settings.createVoice) ? NewHandle() : 0;
    }
    void StartVoice(Handle voice, bool loop) override
    {
        m_log.push_back("StartVoice " + std::to_string(voice) + (loop ? " loop" : " once"));
        m_playing.push_back(voice);
    }
    bool IsVoicePlaying(Handle voice) override
    {
        m_log.push_back("IsVoicePlaying " + std::to_string(voice));
        for (Handle playing : m_playing) {
            if (playing == voice)
                return true;
        }
        return false;
    }
    void DeleteVoice(Handle voice) override { m_log.push_back("DeleteVoice " + std::to_string(voice)); }

private:
    bool Log(const std::string& call, bool result)
    {
        m_log.push_back(call);
        return result;
    }
    Handle NewHandle() { return ++m_lastHandle; }

    std::vector<std::string>& m_log;
    Settings m_settings;
    std::vector<std::string>* m_filled;
    std::vector<Handle> m_playing;
    Handle m_lastHandle = 100;
};
