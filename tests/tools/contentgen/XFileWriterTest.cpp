#include "tools/contentgen/XFileWriter.h"
#include "tools/contentgen/MeshBuilder.h"
#include "tools/contentgen/SunShading.h"

#include <assimp/Importer.hpp>
#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <gtest/gtest.h>

// Read as the renderer reads it (Assimp, kept left-handed): positions in model space, one mesh per
// material with its texture, u along the wall, v down it, a repeat every given length.
TEST(WriteXFile, AssimpReadsModelSpacePositionsUvsAndTextures)
{
    MeshBuilder builder;
    // A wall face looking south (-z) and a floor face looking up, in world coordinates.
    builder.AddFace(Surface::Stone, {{0, 0, 4}, {0, 3, 4}, {6, 3, 4}, {6, 0, 4}}, {0, 0, -1}, 3.0f);
    builder.AddFace(Surface::Grass, {{0, 0, 0}, {6, 0, 0}, {6, 0, 4}, {0, 0, 4}}, {0, 1, 0}, 6.0f);
    const std::string text = WriteXFile(builder.Result(), {"prueba.x", 0.5f, {-1.0f, -2.5f, 1.0f}}, "prueba");
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFileFromMemory(text.data(), text.size(),
                                                       aiProcess_ConvertToLeftHanded | aiProcess_Triangulate, "x");
    ASSERT_NE(scene, nullptr) << importer.GetErrorString();
    ASSERT_EQ(scene->mNumMeshes, 2u);
    for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
        const aiMesh& mesh = *scene->mMeshes[m];
        aiString texture;
        ASSERT_EQ(scene->mMaterials[mesh.mMaterialIndex]->GetTexture(aiTextureType_DIFFUSE, 0, &texture),
                  aiReturn_SUCCESS);
        const bool wall = texture.C_Str() == ShadedTextureFile(Surface::Stone, ShadeLevel({0.0f, 0.0f, -1.0f}));
        EXPECT_TRUE(wall || texture.C_Str() == std::string("cesped.png")) << texture.C_Str();
        ASSERT_EQ(mesh.mNumFaces, 2u);
        ASSERT_TRUE(mesh.HasTextureCoords(0));
        for (unsigned i = 0; i < mesh.mNumVertices; ++i) {
            const aiVector3D world = mesh.mVertices[i] * 0.5f + aiVector3D(-1.0f, -2.5f, 1.0f);
            const aiVector3D uv = mesh.mTextureCoords[0][i];
            EXPECT_NEAR(wall ? world.z : world.y, wall ? 4.0f : 0.0f, 1e-4f);
            EXPECT_NEAR(uv.x, world.x / (wall ? 3.0f : 6.0f), 1e-4f);
            EXPECT_NEAR(uv.y, wall ? -world.y / 3.0f : -world.z / 6.0f, 1e-4f);
        }
    }
}
