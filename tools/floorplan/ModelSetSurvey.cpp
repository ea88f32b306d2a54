#include "tools/floorplan/ModelSetSurvey.h"

#include "platform/MessageBox.h"
#include "world/CModel.h"

#include <cmath>
#include <cstring>

namespace {

// Makes `folder` the working directory while alive: the renderer reads content relative to it.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const std::filesystem::path& folder, std::error_code& error)
        : m_previous(std::filesystem::current_path())
    {
        std::filesystem::current_path(folder, error);
    }
    ~WorkingDirectory()
    {
        std::error_code ignored;
        std::filesystem::current_path(m_previous, ignored);
    }
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

private:
    std::filesystem::path m_previous;
};

}  // namespace

void ModelSetSurvey::FogProbe::SetRenderState(RenderState state, std::uint32_t value)
{
    if (state == RenderState::FogEnd)
        std::memcpy(&fogEnd, &value, sizeof fogEnd);
    RecordingDevice::SetRenderState(state, value);
}

ModelSetSurvey::ModelSetSurvey() = default;

bool ModelSetSurvey::Load(const std::filesystem::path& folder, std::string& error)
{
    std::error_code ec;
    const WorkingDirectory inFolder(std::filesystem::absolute(folder), ec);
    if (ec) {
        error = "cannot enter " + folder.string() + ": " + ec.message();
        return false;
    }
    MessageCapture messages;
    if (!m_renderer.Init(m_device, 640, 480)) {
        error = "the renderer does not start";
        return false;
    }
    m_renderer.ApplyFog();
    for (int i = 0; i < m_renderer.ModelCount(); ++i) {
        if (!m_renderer.Model(i).HasMesh()) {
            error = "model " + std::to_string(i) + " cannot be read from " + folder.string();
            for (const std::string& text : messages.Texts())
                error += "\n" + text;
            return false;
        }
    }
    return true;
}

std::vector<WorldTriangle> ModelSetSurvey::Triangles(int index) const
{
    const CModel& model = Model(index);
    const MeshData& mesh = model.MeshContents();
    std::vector<WorldTriangle> triangles;
    triangles.reserve(mesh.indices.size() / 3);
    for (std::size_t i = 0; i + 2 < mesh.indices.size(); i += 3) {
        WorldTriangle t;
        for (int k = 0; k < 3; ++k) {
            const float* p = mesh.vertices[mesh.indices[i + k]].position;
            t[k] = glm::vec3(model.World() * glm::vec4(p[0], p[1], p[2], 1.0f));
        }
        triangles.push_back(t);
    }
    return triangles;
}

float ModelSetSurvey::ViewReach() const
{
    const glm::mat4& projection = m_renderer.ProjectionMatrix();
    const float tanX = 1.0f / projection[0][0];
    const float tanY = 1.0f / projection[1][1];
    return m_device.fogEnd * std::sqrt(1.0f + tanX * tanX + tanY * tanY);
}
