#include "tests/support/world/RecordingDevice.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace {

// Names in the order of each enum's values.
const char* const kDepthFormats[] = {"D16Lockable", "D16", "D15S1", "D24X8", "D24X4S4", "D24S8"};
const char* const kTransforms[] = {"World", "View", "Projection"};
const char* const kRenderStates[] = {"Lighting",     "CullMode", "FogEnable", "FogColor",
                                     "FogTableMode", "FogStart", "FogEnd",    "FogVertexMode"};
const char* const kSamplerStates[] = {"MagFilter", "MinFilter", "MipFilter"};

std::string Hex(std::uint32_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", value);
    return text;
}

std::string Number(float value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

}  // namespace

std::vector<std::string> RecordingDevice::CallsStartingWith(const std::string& prefix) const
{
    std::vector<std::string> matching;
    for (const std::string& call : m_calls) {
        if (call.compare(0, prefix.size(), prefix) == 0)
            matching.push_back(call);
    }
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

bool RecordingDevice::CreateDevice(DepthFormat depthFormat, VertexProcessing processing)
{
    Record(std::string("CreateDevice ") + kDepthFormats[static_cast<int>(depthFormat)] +
           (processing == VertexProcessing::Hardware ? " Hardware" : " Software"));
    m_created = unavailableDepthFormats.count(depthFormat) == 0;
    return m_created;
}

void RecordingDevice::WriteStatusText(int x, int y, const std::string& text)
{
    Record("WriteStatusText " + std::to_string(x) + " " + std::to_string(y) + " " + text);
}

DeviceTexture* RecordingDevice::CreateTextureFromFile(const std::string& path)
{
    Record("CreateTextureFromFile " + path);
    // A name no file can have (too long, say) is a missing texture, not an error.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return nullptr;
    return Add(m_textures, path);
}

DeviceMesh* RecordingDevice::CreateMesh(const MeshData& mesh)
{
    std::string name = "mesh" + std::to_string(m_meshes.size() + 1);
    Record("CreateMesh " + name + " " + std::to_string(mesh.vertices.size()) + " vertices " +
           std::to_string(mesh.subsets.size()) + " subsets");
    return Add(m_meshes, name);
}

DeviceVertexBuffer* RecordingDevice::CreateVertexBuffer(const MeshVertex* vertices, int count)
{
    std::string name = "vb" + std::to_string(m_buffers.size() + 1);
    std::string call = "CreateVertexBuffer " + name;
    for (int i = 0; i < count; ++i) {
        const MeshVertex& v = vertices[i];
        call += " (" + Number(v.position[0]) + " " + Number(v.position[1]) + " " + Number(v.position[2]) + " / " +
            Number(v.uv[0]) + " " + Number(v.uv[1]) + ")";
    }
    Record(call);
    return Add(m_buffers, name);
}

DeviceFont* RecordingDevice::CreateFont(const FontDescription& description)
{
    Record("CreateFont " + description.faceName + " " + std::to_string(description.height) + " " +
           std::to_string(description.width) + " " + std::to_string(description.weight));
    if (!fontAvailable)
        return nullptr;
    return Add(m_fonts, "font" + std::to_string(m_fonts.size() + 1));
}

void RecordingDevice::Clear(std::uint32_t flags, std::uint32_t color, float depth, std::uint32_t stencil)
{
    Record("Clear " + std::to_string(flags) + " " + Hex(color) + " " + Number(depth) + " " + std::to_string(stencil));
}

void RecordingDevice::SetTransform(TransformType type, const glm::mat4& matrix)
{
    Record(std::string("SetTransform ") + kTransforms[static_cast<int>(type)]);
    m_transforms[static_cast<int>(type)] = matrix;
}

void RecordingDevice::SetRenderState(RenderState state, std::uint32_t value)
{
    Record(std::string("SetRenderState ") + kRenderStates[static_cast<int>(state)] + " " + Hex(value));
}

void RecordingDevice::SetSamplerState(int stage, SamplerState state, std::uint32_t value)
{
    Record("SetSamplerState " + std::to_string(stage) + " " + kSamplerStates[static_cast<int>(state)] + " " +
           std::to_string(value));
}

void RecordingDevice::SetMaterial(const Material& material)
{
    const ColorValue& d = material.diffuse;
    Record("SetMaterial " + Number(d.r) + " " + Number(d.g) + " " + Number(d.b) + " " + Number(d.a));
}

void RecordingDevice::SetTexture(int stage, DeviceTexture* texture)
{
    Record("SetTexture " + std::to_string(stage) + " " + NameOf(texture));
}

void RecordingDevice::DrawSubset(DeviceMesh* mesh, int subset)
{
    Record("DrawSubset " + NameOf(mesh) + " " + std::to_string(subset));
}

void RecordingDevice::DrawTriangleList(int startVertex, int primitiveCount)
{
    Record("DrawTriangleList " + std::to_string(startVertex) + " " + std::to_string(primitiveCount));
}

void RecordingDevice::DrawText(DeviceFont* font, const char* text, const TextRect& rect, std::uint32_t color)
{
    Record("DrawText " + NameOf(font) + " " + std::to_string(rect.left) + " " + std::to_string(rect.top) + " " +
           std::to_string(rect.right) + " " + std::to_string(rect.bottom) + " " + Hex(color) + " " + text);
}
