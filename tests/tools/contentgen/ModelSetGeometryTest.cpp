#include "tools/contentgen/ContentGenerator.h"
#include "tools/contentgen/LevelLayout.h"
#include "tools/contentgen/ModelSetEntry.h"
#include "tools/contentgen/XFileWriter.h"
#include "world/CLevelMap.h"

#include <assimp/Importer.hpp>
#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <glm/common.hpp>
#include <glm/geometric.hpp>
#include <set>

namespace {

struct Box {
    glm::vec3 minimum{1e30f};
    glm::vec3 maximum{-1e30f};
};

Box BoundsOf(const ContentMesh& mesh)
{
    Box box;
    for (const ContentVertex& vertex : mesh.vertices) {
        box.minimum = glm::min(box.minimum, vertex.position);
        box.maximum = glm::max(box.maximum, vertex.position);
    }
    return box;
}

// The whole model set, built once for the tests of this file.
class ModelSetGeometry : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_map = new CLevelMap();
        s_layout = new LevelLayout(*s_map);
        s_models = new std::vector<BuiltModel>(BuildModels(*s_layout));
    }
    static void TearDownTestSuite()
    {
        delete s_models;
        delete s_layout;
        delete s_map;
    }

    static CLevelMap* s_map;
    static LevelLayout* s_layout;
    static std::vector<BuiltModel>* s_models;
};

CLevelMap* ModelSetGeometry::s_map = nullptr;
LevelLayout* ModelSetGeometry::s_layout = nullptr;
std::vector<BuiltModel>* ModelSetGeometry::s_models = nullptr;

} // namespace

TEST_F(ModelSetGeometry, EveryFileOfTheModelSetIsBuiltOnce)
{
    std::set<std::string> wanted;
    for (const ModelSetEntry& placement : ModelSet())
        wanted.insert(placement.file);
    std::set<std::string> built;
    for (const BuiltModel& model : *s_models)
        EXPECT_TRUE(built.insert(ModelSet()[model.index].file).second) << ModelSet()[model.index].file;
    EXPECT_EQ(built, wanted);
    EXPECT_EQ(PlaceModels(*s_models).size(), static_cast<std::size_t>(kModelCount));
}

TEST_F(ModelSetGeometry, TriangleBudgetsKeepSoftwareRenderingFast)
{
    for (const BuiltModel& model : *s_models) {
        const std::string& file = ModelSet()[model.index].file;
        const std::size_t triangles = model.mesh.faces.size();
        EXPECT_GT(triangles, 0u) << file;
        EXPECT_LE(triangles, 6000u) << file;
        if (model.index == kFirstCrossModel) {
            EXPECT_LE(triangles, 200u) << file;
        }
    }
}

// Everything but the sky stands on the ground inside the floor plan's outline (boundary walls
// reach a wall's thickness beyond it); the sky dome holds the whole plan.
TEST_F(ModelSetGeometry, WorldBoxesLieWithinTheMapAndStandOnTheGround)
{
    const glm::vec2 low = s_layout->Minimum();
    const glm::vec2 high = s_layout->Maximum();
    // A boundary wall, its coping and the mitre of a slanted corner.
    const float wall = LevelLayout::kInnerOffset + LevelLayout::kFreeWallThickness + 0.5f;
    const std::vector<ContentMesh> placed = PlaceModels(*s_models);
    for (int index = 0; index < kModelCount; ++index) {
        const Box box = BoundsOf(placed[index]);
        const std::string& file = ModelSet()[index].file;
        if (index == kSkyModel) {
            EXPECT_LT(box.minimum.x, low.x);
            EXPECT_GT(box.maximum.x, high.x);
            EXPECT_LT(box.minimum.z, low.y);
            EXPECT_GT(box.maximum.z, high.y);
            EXPECT_LT(box.minimum.y, 0.0f);
            // Inside the far plane (5000) from anywhere within it.
            EXPECT_LT(glm::length(box.maximum - box.minimum), 5000.0f);
            continue;
        }
        EXPECT_GE(box.minimum.x, low.x - wall) << file;
        EXPECT_LE(box.maximum.x, high.x + wall) << file;
        EXPECT_GE(box.minimum.z, low.y - wall) << file;
        EXPECT_LE(box.maximum.z, high.y + wall) << file;
        EXPECT_LT(box.maximum.y, 90.0f) << file;
        EXPECT_NEAR(box.minimum.y, 0.0f, 0.05f) << file;
    }
}

// What the renderer reads (Assimp, kept left-handed) is the built mesh, placed where the model
// set puts it, subset by subset with its texture.
TEST_F(ModelSetGeometry, WrittenFilesReadBackAsBuilt)
{
    for (const BuiltModel& model : *s_models) {
        const ModelSetEntry& placement = ModelSet()[model.index];
        const std::string text = WriteXFile(model.mesh, placement, "m");
        Assimp::Importer importer;
        const aiScene* scene = importer.ReadFileFromMemory(
            text.data(), text.size(), aiProcess_ConvertToLeftHanded | aiProcess_Triangulate, "x");
        ASSERT_NE(scene, nullptr) << placement.file << ": " << importer.GetErrorString();
        ASSERT_EQ(scene->mNumMaterials, model.mesh.materials.size()) << placement.file;
        std::size_t triangles = 0;
        Box read;
        for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
            const aiMesh& mesh = *scene->mMeshes[m];
            triangles += mesh.mNumFaces;
            aiString texture;
            scene->mMaterials[mesh.mMaterialIndex]->GetTexture(aiTextureType_DIFFUSE, 0, &texture);
            EXPECT_EQ(texture.C_Str(), model.mesh.materials[mesh.mMaterialIndex].textureFile) << placement.file;
            for (unsigned v = 0; v < mesh.mNumVertices; ++v) {
                const glm::vec3 world = placement.ToWorld({mesh.mVertices[v].x, mesh.mVertices[v].y, mesh.mVertices[v].z});
                read.minimum = glm::min(read.minimum, world);
                read.maximum = glm::max(read.maximum, world);
            }
        }
        EXPECT_EQ(triangles, model.mesh.faces.size()) << placement.file;
        const Box built = BoundsOf(model.mesh);
        const float tolerance = 0.001f + 0.0001f * placement.scale;
        for (int axis = 0; axis < 3; ++axis) {
            EXPECT_NEAR(read.minimum[axis], built.minimum[axis], tolerance) << placement.file;
            EXPECT_NEAR(read.maximum[axis], built.maximum[axis], tolerance) << placement.file;
        }
    }
}
