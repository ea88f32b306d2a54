#pragma once

#include "world/GraphicsDevice.h"

#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

// A graphics device without graphics, for tests and for the tools that run the renderer without
// a display (floorplan, drawlists, the soak run): it logs every call as one line of text
// ("SetTexture 0 texturas/piedra.png", "DrawSubset mesh1 2", ...) and can be told to fail
// any set-up step. Textures come from files that exist; resources are named by kind and
// creation order (mesh1, vb1, font1), textures by their path.
class RecordingDevice : public GraphicsDevice {
public:
    // What the set-up steps answer.
    bool initializes = true;
    bool hasDisplayMode = true;
    bool hasCaps = true;
    DeviceCaps caps = {ShaderVersion(3, 3), ShaderVersion(3, 3), 1};
    std::set<DepthFormat> unavailableDepthFormats;
    bool deviceUsable = true;
    bool fontAvailable = true;

    const std::vector<std::string>& Calls() const { return m_calls; }
    void ClearCalls() { m_calls.clear(); }
    // The calls made since the last ClearCalls whose text starts with `prefix`.
    std::vector<std::string> CallsStartingWith(const std::string& prefix) const;
    const glm::mat4& Transform(TransformType type) const { return m_transforms[static_cast<int>(type)]; }

    bool Initialize() override
    {
        Record("Initialize");
        return initializes;
    }
    bool GetDisplayMode(DisplayMode& mode) override;
    bool GetCaps(DeviceCaps& caps) override;
    bool CreateDevice(DepthFormat depthFormat, VertexProcessing processing) override
    {
        Record("CreateDevice", kDepthFormats[static_cast<int>(depthFormat)],
               processing == VertexProcessing::Hardware ? "Hardware" : "Software");
        m_created = unavailableDepthFormats.count(depthFormat) == 0;
        return m_created;
    }
    bool HasDevice() const override { return m_created && deviceUsable; }
    void WriteStatusText(int x, int y, const std::string& text) override { Record("WriteStatusText", x, y, text); }
    void RequestQuit(int exitCode) override { Record("RequestQuit", exitCode); }
    DeviceTexture* CreateTextureFromFile(const std::string& path) override;
    DeviceMesh* CreateMesh(const MeshData& mesh) override;
    DeviceVertexBuffer* CreateVertexBuffer(const MeshVertex* vertices, int count) override;
    DeviceFont* CreateFont(const FontDescription& description) override;
    void Clear(std::uint32_t flags, std::uint32_t color, float depth, std::uint32_t stencil) override
    {
        Record("Clear", flags, Hex(color), depth, stencil);
    }
    void BeginScene() override { Record("BeginScene"); }
    void EndScene() override { Record("EndScene"); }
    void Present() override { Record("Present"); }
    void SetTransform(TransformType type, const glm::mat4& matrix) override
    {
        Record("SetTransform", kTransforms[static_cast<int>(type)]);
        m_transforms[static_cast<int>(type)] = matrix;
    }
    void SetRenderState(RenderState state, std::uint32_t value) override
    {
        Record("SetRenderState", kRenderStates[static_cast<int>(state)], Hex(value));
    }
    void SetSamplerState(int stage, SamplerState state, std::uint32_t value) override
    {
        Record("SetSamplerState", stage, kSamplerStates[static_cast<int>(state)], value);
    }
    void SetMaterial(const Material& material) override
    {
        Record("SetMaterial", material.diffuse.r, material.diffuse.g, material.diffuse.b, material.diffuse.a);
    }
    void SetTexture(int stage, DeviceTexture* texture) override { Record("SetTexture", stage, NameOf(texture)); }
    void DrawSubset(DeviceMesh* mesh, int subset) override { Record("DrawSubset", NameOf(mesh), subset); }
    void SetStreamSource(DeviceVertexBuffer* buffer) override { Record("SetStreamSource", NameOf(buffer)); }
    void DrawTriangleList(int startVertex, int primitiveCount) override
    {
        Record("DrawTriangleList", startVertex, primitiveCount);
    }
    void DrawText(DeviceFont* font, const char* text, const TextRect& rect, std::uint32_t color) override
    {
        Record("DrawText", NameOf(font), rect.left, rect.top, rect.right, rect.bottom, Hex(color), text);
    }

private:
    // Names in the order of each enum's values.
    static constexpr const char* kDepthFormats[] = {"D16Lockable", "D16", "D15S1", "D24X8", "D24X4S4", "D24S8"};
    static constexpr const char* kTransforms[] = {"World", "View", "Projection"};
    static constexpr const char* kRenderStates[] = {"Lighting",     "CullMode", "FogEnable", "FogColor",
                                                    "FogTableMode", "FogStart", "FogEnd",    "FogVertexMode"};
    static constexpr const char* kSamplerStates[] = {"MagFilter", "MinFilter", "MipFilter"};

    template <class Handle>
    struct Named : Handle {
        explicit Named(std::string resourceName) : name(std::move(resourceName)) {}
        std::string name;
    };
    template <class Handle>
    static std::string NameOf(Handle* handle)
    {
        return handle == nullptr ? "null" : static_cast<Named<Handle>*>(handle)->name;
    }
    template <class Handle>
    Handle* Add(std::vector<std::unique_ptr<Named<Handle>>>& list, std::string name)
    {
        list.push_back(std::make_unique<Named<Handle>>(std::move(name)));
        return list.back().get();
    }
    static std::string Hex(std::uint32_t value);
    // One line: the parts separated by spaces, numbers as printf's %g and %d write them.
    template <class... Parts>
    void Record(const Parts&... parts)
    {
        std::ostringstream line;
        ((line << parts << ' '), ...);
        m_calls.push_back(line.str());
        m_calls.back().pop_back();
    }

    std::vector<std::string> m_calls;
    std::vector<std::unique_ptr<Named<DeviceTexture>>> m_textures;
    std::vector<std::unique_ptr<Named<DeviceMesh>>> m_meshes;
    std::vector<std::unique_ptr<Named<DeviceVertexBuffer>>> m_buffers;
    std::vector<std::unique_ptr<Named<DeviceFont>>> m_fonts;
    bool m_created = false;
    glm::mat4 m_transforms[3];
};
