#pragma once

#include "tracking/VideoSource.h"

#include <map>
#include <memory>
#include <string>

// Hands out sources prepared beforehand instead of opening devices or files, for tests and
// benchmarks. Each prepared source is handed out once; after that the camera or the file
// counts as missing.
class PreparedSourceOpener : public VideoSourceOpener {
public:
    void PrepareCamera(std::unique_ptr<VideoSource> source) { m_camera = std::move(source); }
    void PrepareFile(const std::string& fileName, std::unique_ptr<VideoSource> source)
    {
        m_files[fileName] = std::move(source);
    }

    std::unique_ptr<VideoSource> OpenCamera() override { return std::move(m_camera); }
    std::unique_ptr<VideoSource> OpenFile(const std::string& fileName) override
    {
        auto found = m_files.extract(fileName);
        return found ? std::move(found.mapped()) : nullptr;
    }

private:
    std::unique_ptr<VideoSource> m_camera;
    std::map<std::string, std::unique_ptr<VideoSource>> m_files;
};
