#include "world/CModel.h"

#include "platform/ContentPath.h"
#include "platform/FileKind.h"
#include "platform/MessageBox.h"
#include "world/FrustumPlanes.h"
#include "world/MeshReaderProcess.h"

#include <limits>
#include <set>

CModel::CModel(GraphicsDevice& device, const std::string& file, const glm::mat4& world)
    : m_device(&device), m_world(world), m_boxMin(std::numeric_limits<float>::max()),
      m_boxMax(std::numeric_limits<float>::max())
{
    Load(file);
    if (HasMesh()) {
        ComputeBounds();
        TransformBounds();
    }
}

CModel::~CModel() = default;

bool CModel::Load(const std::string& file)
{
    const std::string path = NativePath(file);
    const FileKind kind = KindOfFile(path);
    if (kind == FileKind::Missing) {
        ShowMessageBox(kDefaultMessageCaption, "No se encuentra el archivo " + path + "\n");
        return false;
    }
    ModelReading reading;
    if (kind == FileKind::Regular)
        reading = MeshReaderProcess::Read(path);
    // The program is ending: nothing to tell.
    if (reading.outcome == ModelReading::Interrupted)
        return false;
    if (reading.outcome != ModelReading::Read) {
        ShowMessageBox(kDefaultMessageCaption, "No se puede leer el archivo " + path + "\n");
        return false;
    }
    for (const MeshMaterial& source : reading.mesh.materials) {
        Material material = source.material;
        material.ambient = material.diffuse;
        m_materials.push_back(material);
        m_textures.push_back(source.textureFile.empty() ? nullptr : LoadTexture(source.textureFile));
    }
    m_meshData = std::move(reading.mesh);
    m_mesh = m_device->CreateMesh(m_meshData);
    if (!reading.optimised) {
        ShowMessageBox(kDefaultMessageCaption, "Fallo en OptimizeInplace()");
        return false;
    }
    return m_mesh != nullptr;
}

// A missing texture is silent; one that is not a file to read is named once, however many
// materials use it.
DeviceTexture* CModel::LoadTexture(const std::string& name)
{
    const std::string path = NativePath("texturas\\" + name);
    if (KindOfFile(path) != FileKind::Other)
        return m_device->CreateTextureFromFile(path);
    static std::set<std::string> named;
    if (named.insert(path).second)
        ShowMessageBox(kDefaultMessageCaption, "No se puede leer el archivo " + path + "\n");
    return nullptr;
}

bool CModel::ComputeBounds()
{
    if (m_meshData.vertices.empty())
        return false;
    const float* first = m_meshData.vertices.front().position;
    m_boxMin = m_boxMax = glm::vec3(first[0], first[1], first[2]);
    for (const MeshVertex& vertex : m_meshData.vertices) {
        for (int axis = 0; axis < 3; ++axis) {
            if (vertex.position[axis] < m_boxMin[axis])
                m_boxMin[axis] = vertex.position[axis];
            if (vertex.position[axis] > m_boxMax[axis])
                m_boxMax[axis] = vertex.position[axis];
        }
    }
    return true;
}

void CModel::TransformBounds()
{
    // A point times the matrix for row vectors: x' = x·m11 + y·m21 + z·m31 + m41, and so on.
    const glm::mat4& m = m_world;
    auto transform = [&m](const glm::vec3& p) {
        glm::vec3 result;
        for (int column = 0; column < 3; ++column)
            result[column] = p.x * m[0][column] + p.y * m[1][column] + p.z * m[2][column] + m[3][column];
        return result;
    };
    m_boxMin = transform(m_boxMin);
    m_boxMax = transform(m_boxMax);
}

bool CModel::IsInFrustum() const
{
    return BoxTouchesFrustum(CurrentFrustumPlanes(), m_boxMin, m_boxMax);
}

void CModel::Draw()
{
    if (!HasMesh() || !IsInFrustum())
        return;
    m_device->SetTransform(TransformType::World, m_world);
    for (std::size_t i = 0; i < m_materials.size(); ++i) {
        m_device->SetMaterial(m_materials[i]);
        m_device->SetTexture(0, m_textures[i]);
        m_device->DrawSubset(m_mesh, static_cast<int>(i));
    }
}
