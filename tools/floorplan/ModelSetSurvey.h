#pragma once

#include "tests/support/world/RecordingDevice.h"
#include "tools/floorplan/SurfaceColumns.h"
#include "world/CRenderer.h"

#include <filesystem>
#include <string>
#include <vector>

class CModel;

// The renderer's model set as the game loads it from a content folder (modelos/, texturas/),
// placed by the renderer's own table, for tools that reason about what can be seen: each
// model's triangles and box in world space, and how far the fog lets anything be seen.
class ModelSetSurvey {
public:
    ModelSetSurvey();

    // Loads the content of `folder`. False, with `error`, when a model cannot be read.
    bool Load(const std::filesystem::path& folder, std::string& error);

    int ModelCount() const { return m_renderer.ModelCount(); }
    const CModel& Model(int index) const { return m_renderer.Model(index); }
    std::vector<WorldTriangle> Triangles(int index) const;

    // The farthest (in x and z) a point can lie from the eye and still show through the fog
    // at some pose: the fog ends at a view depth, which is shortest along the frustum's corner
    // rays.
    float ViewReach() const;

private:
    // Keeps the fog end the renderer sets.
    class FogProbe : public RecordingDevice {
    public:
        float fogEnd = 0.0f;
        void SetRenderState(RenderState state, std::uint32_t value) override;
    };

    FogProbe m_device;
    CRenderer m_renderer;
};
