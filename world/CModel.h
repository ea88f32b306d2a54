#pragma once

#include "world/CDrawable.h"
#include "world/GraphicsDevice.h"
#include "world/MeshData.h"

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

#include <string>
#include <vector>

// One placed model of the scene: its mesh, one material and texture per subset, its world
// matrix and its world-space bounding box. It draws itself only when the box touches the view
// frustum. A model whose file could not be read stays without a mesh: never measured, never drawn.
class CModel : public CDrawable {
public:
    // Loads `file` (a content path such as "modelos\cielo.x") and measures its box in world space.
    CModel(GraphicsDevice& device, const std::string& file, const glm::mat4& world);
    ~CModel() override;
    CModel(const CModel&) = delete;
    CModel& operator=(const CModel&) = delete;

    void Draw() override;

    // Reads the mesh, its materials and textures ("texturas\<name>") and optimises the mesh.
    // The file is read in a process of its own (MeshReaderProcess): one that is missing, not a
    // regular file, broken, or asking for too much memory or time is named in a message.
    bool Load(const std::string& file);
    // Box of the mesh's vertices in model space.
    bool ComputeBounds();
    // Moves the box corners into world space.
    void TransformBounds();
    // Whether the box touches every plane of the current frustum plane table.
    bool IsInFrustum() const;

    bool HasMesh() const { return m_mesh != nullptr; }
    const glm::mat4& World() const { return m_world; }
    const glm::vec3& BoxMin() const { return m_boxMin; }
    const glm::vec3& BoxMax() const { return m_boxMax; }
    const std::vector<Material>& Materials() const { return m_materials; }
    const std::vector<DeviceTexture*>& Textures() const { return m_textures; }
    // The mesh as loaded, kept in memory alongside the device's copy.
    const MeshData& MeshContents() const { return m_meshData; }

private:
    DeviceTexture* LoadTexture(const std::string& name);

    std::vector<Material> m_materials;
    std::vector<DeviceTexture*> m_textures;
    DeviceMesh* m_mesh = nullptr;
    GraphicsDevice* m_device;
    glm::mat4 m_world;
    glm::vec3 m_boxMin;
    glm::vec3 m_boxMax;
    MeshData m_meshData;
};
