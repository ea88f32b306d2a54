#include "world/XMeshImport.h"

#include <assimp/Importer.hpp>
#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <vector>

namespace {

constexpr unsigned kReadSteps = aiProcess_ConvertToLeftHanded | aiProcess_Triangulate | aiProcess_ValidateDataStructure;

ColorValue ReadColor(const aiMaterial& material, const char* key, unsigned type, unsigned index)
{
    aiColor4D color(0.0f, 0.0f, 0.0f, 0.0f);
    material.Get(key, type, index, color);
    return {color.r, color.g, color.b, color.a};
}

std::string TextureName(const aiMaterial& material)
{
    aiString name;
    if (material.GetTexture(aiTextureType_DIFFUSE, 0, &name) != aiReturn_SUCCESS)
        return {};
    return name.C_Str();
}

MeshMaterial ConvertMaterial(const aiMaterial& source)
{
    MeshMaterial result{};
    result.material.diffuse = ReadColor(source, AI_MATKEY_COLOR_DIFFUSE);
    result.material.specular = ReadColor(source, AI_MATKEY_COLOR_SPECULAR);
    result.material.emissive = ReadColor(source, AI_MATKEY_COLOR_EMISSIVE);
    source.Get(AI_MATKEY_SHININESS, result.material.power);
    result.textureFile = TextureName(source);
    return result;
}

struct SubsetBuilder {
    std::vector<MeshVertex> vertices;
    std::vector<std::uint32_t> indices;
};

void AppendMesh(const aiMesh& mesh, const aiMatrix4x4& transform, SubsetBuilder& subset)
{
    const aiMatrix3x3 normalTransform = aiMatrix3x3(transform).Inverse().Transpose();
    const auto base = static_cast<std::uint32_t>(subset.vertices.size());
    for (unsigned i = 0; i < mesh.mNumVertices; ++i) {
        const aiVector3D position = transform * mesh.mVertices[i];
        aiVector3D normal(0.0f, 0.0f, 0.0f);
        if (mesh.HasNormals())
            normal = (normalTransform * mesh.mNormals[i]).NormalizeSafe();
        aiVector3D uv(0.0f, 0.0f, 0.0f);
        if (mesh.HasTextureCoords(0))
            uv = mesh.mTextureCoords[0][i];
        subset.vertices.push_back({{position.x, position.y, position.z}, {normal.x, normal.y, normal.z}, {uv.x, uv.y}});
    }
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
        const aiFace& face = mesh.mFaces[f];
        if (face.mNumIndices != 3)
            continue;  // points and lines left over by triangulation are not drawn
        for (unsigned k = 0; k < 3; ++k)
            subset.indices.push_back(base + face.mIndices[k]);
    }
}

void CollectNode(const aiScene& scene, const aiNode& node, const aiMatrix4x4& parent,
                 std::vector<SubsetBuilder>& subsets)
{
    const aiMatrix4x4 transform = parent * node.mTransformation;
    for (unsigned i = 0; i < node.mNumMeshes; ++i) {
        const aiMesh& mesh = *scene.mMeshes[node.mMeshes[i]];
        AppendMesh(mesh, transform, subsets[mesh.mMaterialIndex]);
    }
    for (unsigned i = 0; i < node.mNumChildren; ++i)
        CollectNode(scene, *node.mChildren[i], transform, subsets);
}

}  // namespace

XMeshImport::XMeshImport() : m_importer(std::make_unique<Assimp::Importer>()) {}

XMeshImport::~XMeshImport() = default;

bool XMeshImport::Read(const std::string& path)
{
    m_mesh = MeshData{};
    m_importer->FreeScene();
    const aiScene* scene = m_importer->ReadFile(path, kReadSteps);
    if (scene == nullptr || scene->mRootNode == nullptr || scene->mNumMeshes == 0)
        return false;
    BuildMesh();
    return true;
}

bool XMeshImport::Optimize()
{
    if (m_importer->GetScene() == nullptr)
        return false;
    // On failure the loader drops its scene; the mesh built by Read stays.
    if (m_importer->ApplyPostProcessing(aiProcess_JoinIdenticalVertices | aiProcess_ImproveCacheLocality) == nullptr)
        return false;
    BuildMesh();
    return true;
}

// Flattens the node tree into one vertex list, with the triangles of material i forming
// subset i (materials no triangle uses give empty subsets).
void XMeshImport::BuildMesh()
{
    const aiScene& scene = *m_importer->GetScene();
    std::vector<SubsetBuilder> subsets(scene.mNumMaterials);
    CollectNode(scene, *scene.mRootNode, aiMatrix4x4(), subsets);

    m_mesh = MeshData{};
    for (unsigned i = 0; i < scene.mNumMaterials; ++i) {
        m_mesh.materials.push_back(ConvertMaterial(*scene.mMaterials[i]));
        const auto base = static_cast<std::uint32_t>(m_mesh.vertices.size());
        const auto first = static_cast<std::uint32_t>(m_mesh.indices.size());
        m_mesh.vertices.insert(m_mesh.vertices.end(), subsets[i].vertices.begin(), subsets[i].vertices.end());
        for (std::uint32_t index : subsets[i].indices)
            m_mesh.indices.push_back(base + index);
        m_mesh.subsets.push_back({first, static_cast<std::uint32_t>(subsets[i].indices.size())});
    }
}
