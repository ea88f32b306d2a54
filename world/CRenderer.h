#pragma once

#include "world/GraphicsDevice.h"
#include "world/ModelSet.h"

#include <glm/mat4x4.hpp>

#include <memory>
#include <vector>

class CLevelMap;
class CModel;

// Owns the 3D device's drawing: the 23 placed models, the projection, the overlay font and the
// intro picture, and draws one frame at a time on the main loop's request.
class CRenderer {
public:
    static constexpr int kModelCount = kModelSetSize;

    // Registers itself as the instance.
    CRenderer();
    ~CRenderer();
    CRenderer(const CRenderer&) = delete;
    CRenderer& operator=(const CRenderer&) = delete;

    // The most recently constructed renderer that is still alive, or null.
    static CRenderer* Instance();

    // Creates the device on `device`, loads the model set, sets the fixed states, the projection
    // for a width x height view and the overlay font. Reports failures in message boxes and
    // returns false when the device cannot be created. `device` must outlive the renderer.
    bool Init(GraphicsDevice& device, int width, int height);

    // Draws model `index` of the model set if it is in the view frustum.
    void DrawModel(int index);

    // The intro quad and its picture, the file "intro"; a picture that is missing or cannot be
    // read is named in a message and the intro stays white.
    bool LoadIntro();
    void BeginFrame();
    // The intro picture; called between BeginFrame and EndFrame, which bracket it.
    bool DrawIntro();
    // The scene from CCamera::Instance(), limited to the map's current cell's draw list.
    void DrawScene(const CLevelMap& map);
    // Overlay text on line 0, 1 or 2 of a width x height screen.
    void DrawTextLine(const char* text, int line, int width, int height);
    void EndFrame();

    // Fog states for the following frames (linear, 10 to 140, background grey).
    void ApplyFog();
    // Rebuilds the frustum plane table from the view and projection matrices.
    void ExtractFrustumPlanes();

    int ModelCount() const { return static_cast<int>(m_models.size()); }
    const CModel& Model(int index) const { return *m_models[index]; }
    const glm::mat4& ViewMatrix() const { return m_view; }
    const glm::mat4& ProjectionMatrix() const { return m_projection; }
    const DisplayMode& GetDisplayMode() const { return m_displayMode; }
    const DeviceCaps& GetCaps() const { return m_caps; }

private:
    void LoadModels();

    DeviceVertexBuffer* m_introVertices = nullptr;
    DeviceTexture* m_introTexture = nullptr;
    std::vector<std::unique_ptr<CModel>> m_models;
    DeviceFont* m_font = nullptr;
    FontDescription m_fontDescription{};
    DisplayMode m_displayMode{};
    DeviceCaps m_caps{};
    GraphicsDevice* m_device = nullptr;
    glm::mat4 m_view{1.0f};
    glm::mat4 m_projection{1.0f};
};
