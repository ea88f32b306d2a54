#include "tests/support/world/RecordingDevice.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <system_error>

std::string RecordingDevice::Hex(std::uint32_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", value);
    return text;
}

std::vector<std::string> RecordingDevice::CallsStartingWith(const std::string& prefix) const
{
    std::vector<std::string> matching;
    std::copy_if(m_calls.begin(), m_calls.end(), std::back_inserter(matching),
                 [&](const std::string& call) { return call.compare(0, prefix.size(), prefix) == 0; });
    return matching;
}

bool RecordingDevice::GetDisplayMode(DisplayMode& mode)
{
    Record("GetDisplayMode");
    if (hasDisplayMode)
        mode = {1280, 1024, 60};
    return hasDisplayMode;
}

bool RecordingDevice::GetCaps(DeviceCaps& result)
{
    Record("GetCaps");
    if (hasCaps)
        result = caps;
    return hasCaps;
}

DeviceTexture* RecordingDevice::CreateTextureFromFile(const std::string& path)
{
    Record("CreateTextureFromFile", path);
    // A name no file can have (too long, say) is a missing texture, not an error.
    std::error_code error;
    return std::filesystem::is_regular_file(path, error) ? Add(m_textures, path) : nullptr;
}

DeviceMesh* RecordingDevice::CreateMesh(const MeshData& mesh)
{
    std::string name = "mesh" + std::to_string(m_meshes.size() + 1);
    Record("CreateMesh", name, mesh.vertices.size(), "vertices", mesh.subsets.size(), "subsets");
    return Add(m_meshes, name);
}

DeviceVertexBuffer* RecordingDevice::CreateVertexBuffer(const MeshVertex* vertices, int count)
{
    std::string name = "vb" + std::to_string(m_buffers.size() + 1);
    std::ostringstream list;
    for (const MeshVertex* v = vertices; v != vertices + count; ++v)
        list << " (" << v->position[0] << ' ' << v->position[1] << ' ' << v->position[2] << " / " << v->uv[0] << ' '
             << v->uv[1] << ')';
    Record("CreateVertexBuffer", name + list.str());
    return Add(m_buffers, name);
}

DeviceFont* RecordingDevice::CreateFont(const FontDescription& description)
{
    Record("CreateFont", description.faceName, description.height, description.width, description.weight);
    return fontAvailable ? Add(m_fonts, "font" + std::to_string(m_fonts.size() + 1)) : nullptr;
}
