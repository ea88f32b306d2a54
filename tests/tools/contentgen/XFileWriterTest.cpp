#include "tools/contentgen/MeshBuilder.h"
#include "tools/contentgen/SunShading.h"
#include "tools/contentgen/XFileWriter.h"

#include <assimp/Importer.hpp>
#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <gtest/gtest.h>

TEST(FormatNumber, FourDecimalsWithoutTrailingZerosOrNegativeZero)
{
    EXPECT_EQ(FormatNumber(1.25), "1.25");
    EXPECT_EQ(FormatNumber(-3.0), "-3");
    EXPECT_EQ(FormatNumber(0.00004), "0");
    EXPECT_EQ(FormatNumber(-0.00004), "0");
    EXPECT_EQ(FormatNumber(0.00005001), "0.0001");
    EXPECT_EQ(FormatNumber(-1666.666666), "-1666.6667");
    EXPECT_EQ(FormatNumber(12345678.5), "12345678.5");
}

namespace {

// Reads text .x content the way the renderer does (Assimp, kept left-handed).
const aiScene* ReadX(Assimp::Importer& importer, const std::string& text)
{
    return importer.ReadFileFromMemory(text.data(), text.size(),
                                       aiProcess_ConvertToLeftHanded | aiProcess_Triangulate, "x");
}

} // namespace

TEST(WriteXFile, AssimpReadsModelSpacePositionsNormalsUvsAndTextures)
{
    MeshBuilder builder;
    // A wall face looking south (-z) and a floor face looking up, in world coordinates.
    builder.AddFace(Surface::Stone, {{0, 0, 4}, {0, 3, 4}, {6, 3, 4}, {6, 0, 4}}, {0, 0, -1}, 3.0f);
    builder.AddFace(Surface::Grass, {{0, 0, 0}, {6, 0, 0}, {6, 0, 4}, {0, 0, 4}}, {0, 1, 0}, 6.0f);
    const ModelSetEntry placement{"prueba.x", 0.5f, {-1.0f, -2.5f, 1.0f}};
    const std::string text = WriteXFile(builder.Result(), placement, "prueba");
    ASSERT_EQ(text.rfind("xof 0303txt 0032\n", 0), 0u);

    Assimp::Importer importer;
    const aiScene* scene = ReadX(importer, text);
    ASSERT_NE(scene, nullptr) << importer.GetErrorString();
    ASSERT_EQ(scene->mNumMaterials, 2u);
    ASSERT_EQ(scene->mNumMeshes, 2u);

    for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
        const aiMesh& mesh = *scene->mMeshes[m];
        const aiMaterial& material = *scene->mMaterials[mesh.mMaterialIndex];
        aiString texture;
        ASSERT_EQ(material.GetTexture(aiTextureType_DIFFUSE, 0, &texture), aiReturn_SUCCESS);
        aiColor4D diffuse;
        material.Get(AI_MATKEY_COLOR_DIFFUSE, diffuse);
        EXPECT_EQ(diffuse, aiColor4D(1.0f, 1.0f, 1.0f, 1.0f));
        ASSERT_EQ(mesh.mNumFaces, 2u);
        ASSERT_TRUE(mesh.HasNormals());
        ASSERT_TRUE(mesh.HasTextureCoords(0));
        const std::string name = texture.C_Str();
        for (unsigned i = 0; i < mesh.mNumVertices; ++i) {
            const aiVector3D world = mesh.mVertices[i] * 0.5f + aiVector3D(-1.0f, -2.5f, 1.0f);
            if (name == ShadedTextureFile(Surface::Stone, ShadeLevel({0.0f, 0.0f, -1.0f}))) {
                EXPECT_NEAR(world.z, 4.0f, 1e-4f);
                EXPECT_NEAR(mesh.mNormals[i].z, -1.0f, 1e-4f);
                // u runs with x (to the viewer's right), v down the wall, 3 units a repeat.
                EXPECT_NEAR(mesh.mTextureCoords[0][i].x, world.x / 3.0f, 1e-4f);
                EXPECT_NEAR(mesh.mTextureCoords[0][i].y, -world.y / 3.0f, 1e-4f);
            } else {
                EXPECT_EQ(name, "cesped.png");
                EXPECT_NEAR(world.y, 0.0f, 1e-4f);
                EXPECT_NEAR(mesh.mNormals[i].y, 1.0f, 1e-4f);
                EXPECT_NEAR(mesh.mTextureCoords[0][i].x, world.x / 6.0f, 1e-4f);
                EXPECT_NEAR(mesh.mTextureCoords[0][i].y, -world.z / 6.0f, 1e-4f);
            }
        }
    }
}

TEST(WriteXFile, WindingIsClockwiseSeenFromTheFacingSide)
{
    MeshBuilder builder;
    // Given counter-clockwise as seen from the south, the builder turns it round.
    builder.AddFace(Surface::Stone, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {0, 0, -1}, 1.0f);
    const ContentMesh& mesh = builder.Result();
    ASSERT_EQ(mesh.faces.size(), 2u);
    for (const ContentFace& face : mesh.faces) {
        const glm::vec3 a = mesh.vertices[face.index[0]].position;
        const glm::vec3 b = mesh.vertices[face.index[1]].position;
        const glm::vec3 c = mesh.vertices[face.index[2]].position;
        // Seen from -z with x to the right and y up, clockwise means a negative signed area.
        const float area = (b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y);
        EXPECT_LT(area, 0.0f);
    }
}
