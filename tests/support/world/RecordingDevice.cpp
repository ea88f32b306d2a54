#include "tests/support/world/RecordingDevice.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace {

const char* DepthFormatName(DepthFormat format)
{
    switch (format) {
    case DepthFormat::D16Lockable: return "D16Lockable";
    case DepthFormat::D16: return "D16";
    case DepthFormat::D15S1: return "D15S1";
    case DepthFormat::D24X8: return "D24X8";
    case DepthFormat::D24X4S4: return "D24X4S4";
    case DepthFormat::D24S8: return "D24S8";
    }
    return "?";
}

const char* TransformName(TransformType type)
{
    switch (type) {
    case TransformType::World: return "World";
    case TransformType::View: return "View";
    case TransformType::Projection: return "Projection";
    }
    return "?";
}

const char* RenderStateName(RenderState state)
{
    switch (state) {
    case RenderState::Lighting: return "Lighting";
    case RenderState::CullMode: return "CullMode";
    case RenderState::FogEnable: return "FogEnable";
    case RenderState::FogColor: return "FogColor";
    case RenderState::FogTableMode: return "FogTableMode";
    case RenderState::FogStart: return "FogStart";
    case RenderState::FogEnd: return "FogEnd";
    case RenderState::FogVertexMode: return "FogVertexMode";
    }
    return "?";
}

const char* SamplerStateName(SamplerState state)
{
    switch (state) {
    case SamplerState::MagFilter: return "MagFilter";
    case SamplerState::MinFilter: return "MinFilter";
    case SamplerState::MipFilter: return "MipFilter";
    }
    return "?";
}

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

void RecordingDevice::Record(const std::string& call)
{
    m_calls.push_back(call);
}

bool RecordingDevice::Initialize()
{
    Record("Initialize");
    return initializes;
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
    Record(std::string("CreateDevice ") + DepthFormatName(depthFormat) +
           (processing == VertexProcessing::Hardware ? " Hardware" : " Software"));
    m_created = unavailableDepthFormats.count(depthFormat) == 0;
    return m_created;
}

bool RecordingDevice::HasDevice() const
{
    return m_created && deviceUsable;
}

void RecordingDevice::WriteStatusText(int x, int y, const std::string& text)
{
    Record("WriteStatusText " + std::to_string(x) + " " + std::to_string(y) + " " + text);
}

void RecordingDevice::RequestQuit(int exitCode)
{
    Record("RequestQuit " + std::to_string(exitCode));
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

void RecordingDevice::BeginScene()
{
    Record("BeginScene");
}

void RecordingDevice::EndScene()
{
    Record("EndScene");
}

void RecordingDevice::Present()
{
    Record("Present");
}

void RecordingDevice::SetTransform(TransformType type, const glm::mat4& matrix)
{
    Record(std::string("SetTransform ") + TransformName(type));
    m_transforms[static_cast<int>(type)] = matrix;
}

void RecordingDevice::SetRenderState(RenderState state, std::uint32_t value)
{
    Record(std::string("SetRenderState ") + RenderStateName(state) + " " + Hex(value));
}

void RecordingDevice::SetSamplerState(int stage, SamplerState state, std::uint32_t value)
{
    Record("SetSamplerState " + std::to_string(stage) + " " + SamplerStateName(state) + " " + std::to_string(value));
}

void RecordingDevice::SetMaterial(const Material& material)
{
    const ColorValue& d = material.diffuse;
    Record("SetMaterial " + Number(d.r) + " " + Number(d.g) + " " + Number(d.b) + " " + Number(d.a));
    m_material = material;
}

void RecordingDevice::SetTexture(int stage, DeviceTexture* texture)
{
    Record("SetTexture " + std::to_string(stage) + " " + NameOf(texture));
}

void RecordingDevice::DrawSubset(DeviceMesh* mesh, int subset)
{
    Record("DrawSubset " + NameOf(mesh) + " " + std::to_string(subset));
}

void RecordingDevice::SetStreamSource(DeviceVertexBuffer* buffer)
{
    Record("SetStreamSource " + NameOf(buffer));
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
