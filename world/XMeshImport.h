#pragma once

#include "world/MeshData.h"

#include <memory>
#include <string>

namespace Assimp {
class Importer;
}

// Reads a DirectX .x model into one mesh with one subset per material, as Direct3D's loader
// does: positions, normals, texture coordinates and winding stay left-handed as written, frame
// transforms are applied, and polygons become triangles. Assimp trusts what a file says, so the
// program reads models through MeshReaderProcess, never with this class directly.
class XMeshImport {
public:
    XMeshImport();
    ~XMeshImport();
    XMeshImport(const XMeshImport&) = delete;
    XMeshImport& operator=(const XMeshImport&) = delete;

    // False when the file is missing or not a readable model.
    bool Read(const std::string& path);
    // Joins identical vertices and reorders triangles for the vertex cache. On failure the
    // mesh stays as read.
    bool Optimize();

    const MeshData& Mesh() const { return m_mesh; }

private:
    void BuildMesh();

    std::unique_ptr<Assimp::Importer> m_importer;
    MeshData m_mesh;
};
