#pragma once

#include "world/MeshData.h"

#include <glm/mat4x4.hpp>

#include <cstdint>
#include <string>

// Resources the device creates and owns; they stay valid for the device's whole life.
class DeviceTexture {
public:
    virtual ~DeviceTexture() = default;
};

class DeviceMesh {
public:
    virtual ~DeviceMesh() = default;
};

class DeviceVertexBuffer {
public:
    virtual ~DeviceVertexBuffer() = default;
};

class DeviceFont {
public:
    virtual ~DeviceFont() = default;
};

// Depth buffer formats, in the renderer's order of preference.
enum class DepthFormat { D16Lockable, D16, D15S1, D24X8, D24X4S4, D24S8 };

enum class VertexProcessing { Hardware, Software };

enum class TransformType { World, View, Projection };

enum class RenderState {
    Lighting,  // 0 or 1
    CullMode,  // a CullMode value
    FogEnable,  // 0 or 1
    FogColor,  // 0xRRGGBB
    FogTableMode,  // a FogMode value
    FogStart,  // the bit pattern of a 32-bit float
    FogEnd,  // the bit pattern of a 32-bit float
    FogVertexMode  // a FogMode value
};

enum CullMode : std::uint32_t { CullNone = 1, CullClockwise = 2, CullCounterClockwise = 3 };

enum FogMode : std::uint32_t { FogNone = 0, FogLinear = 3 };

enum class SamplerState { MagFilter, MinFilter, MipFilter };

enum TextureFilter : std::uint32_t { FilterPoint = 1, FilterLinear = 2 };

enum ClearFlag : std::uint32_t { ClearTarget = 1, ClearZBuffer = 2 };

struct DisplayMode {
    int width;
    int height;
    int refreshRate;
};

// Shader versions are (major << 8) | minor.
struct DeviceCaps {
    std::uint32_t pixelShaderVersion;
    std::uint32_t vertexShaderVersion;
    // Zero when vertices can only be processed in software.
    std::uint32_t vertexProcessingCaps;
};

constexpr std::uint32_t ShaderVersion(std::uint32_t major, std::uint32_t minor)
{
    return (major << 8) | minor;
}

// A Windows font description: cell height and average width in pixels, weight 100 to 900.
struct FontDescription {
    int height;
    int width;
    int escapement;
    int orientation;
    int weight;
    bool italic;
    bool underline;
    bool strikeOut;
    int charSet;
    int outPrecision;
    int clipPrecision;
    int quality;
    int pitchAndFamily;
    std::string faceName;
};

struct TextRect {
    int left;
    int top;
    int right;
    int bottom;
};

// The 3D device the renderer draws through: a fixed-function pipeline with one texture stage.
// Matrices are glm's (column vectors: a point p lands at projection * view * world * p), so
// m[i][j] is element (i + 1, j + 1) of the same matrix written for row vectors. The projection
// maps depth from 0 at the near plane to 1 at the far plane.
// The untextured colour is the material's diffuse colour; a texture is modulated with it.
// Fog, when enabled, blends linearly by view depth towards the fog colour.
class GraphicsDevice {
public:
    virtual ~GraphicsDevice() = default;

    // Set-up, in the order the renderer calls them. Each returns false on failure.
    virtual bool Initialize() = 0;
    virtual bool GetDisplayMode(DisplayMode& mode) = 0;
    virtual bool GetCaps(DeviceCaps& caps) = 0;
    // Creates the drawing surface with a back buffer of the window's size and the given
    // depth buffer; false when this depth format is not available.
    virtual bool CreateDevice(DepthFormat depthFormat, VertexProcessing processing) = 0;
    // Whether a created device can draw.
    virtual bool HasDevice() const = 0;

    // Start-up progress: black text on white at a window position, shown until the first
    // presented frame covers it. A later text at the same place paints over the earlier one.
    virtual void WriteStatusText(int x, int y, const std::string& text) = 0;
    // Ends the program once it returns to its event loop.
    virtual void RequestQuit(int exitCode) = 0;

    // Resources; null when they cannot be created (a missing or unreadable file).
    virtual DeviceTexture* CreateTextureFromFile(const std::string& path) = 0;
    virtual DeviceMesh* CreateMesh(const MeshData& mesh) = 0;
    virtual DeviceVertexBuffer* CreateVertexBuffer(const MeshVertex* vertices, int count) = 0;
    virtual DeviceFont* CreateFont(const FontDescription& description) = 0;

    // Frame.
    virtual void Clear(std::uint32_t flags, std::uint32_t color, float depth, std::uint32_t stencil) = 0;
    virtual void BeginScene() = 0;
    virtual void EndScene() = 0;
    virtual void Present() = 0;

    // State.
    virtual void SetTransform(TransformType type, const glm::mat4& matrix) = 0;
    virtual void SetRenderState(RenderState state, std::uint32_t value) = 0;
    virtual void SetSamplerState(int stage, SamplerState state, std::uint32_t value) = 0;
    virtual void SetMaterial(const Material& material) = 0;
    // A null texture unbinds the stage.
    virtual void SetTexture(int stage, DeviceTexture* texture) = 0;

    // Drawing.
    virtual void DrawSubset(DeviceMesh* mesh, int subset) = 0;
    virtual void SetStreamSource(DeviceVertexBuffer* buffer) = 0;
    virtual void DrawTriangleList(int startVertex, int primitiveCount) = 0;
    // Text, top-left aligned and clipped to the rectangle (back-buffer pixels); color is
    // 0xAARRGGBB. Line feeds start new lines.
    virtual void DrawText(DeviceFont* font, const char* text, const TextRect& rect, std::uint32_t color) = 0;
};
