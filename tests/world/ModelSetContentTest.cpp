#include "platform/MessageBox.h"
#include "world/CLevelMap.h"
#include "world/CModel.h"
#include "world/CRenderer.h"
#include "world/RecordingDevice.h"

#include "WorldTestFolder.h"

#include <gtest/gtest.h>

#include <algorithm>

// The program's own content in data/: every model loads with all its textures and lies where
// the level map says the churchyard is.
class ModelSetContentTest : public testing::Test {
protected:
    void SetUp() override
    {
        const std::filesystem::path data = std::filesystem::path(BRUMARIA_SOURCE_DIR) / "data";
        if (!std::filesystem::exists(data / "modelos" / "cielo.x"))
            GTEST_SKIP() << "no content in data/";
        std::filesystem::remove("modelos");
        std::filesystem::remove("texturas");
        std::filesystem::create_directory_symlink(data / "modelos", "modelos");
        std::filesystem::create_directory_symlink(data / "texturas", "texturas");
        ASSERT_TRUE(renderer.Init(device, 640, 480));
    }

    WorldTestFolder folder;
    MessageCapture messages;
    RecordingDevice device;
    CRenderer renderer;
    CLevelMap map;
};

TEST_F(ModelSetContentTest, EveryModelLoadsWithEveryTexture)
{
    EXPECT_TRUE(messages.Messages().empty());
    ASSERT_EQ(renderer.ModelCount(), CRenderer::kModelCount);
    for (int i = 0; i < renderer.ModelCount(); ++i) {
        const CModel& model = renderer.Model(i);
        EXPECT_TRUE(model.HasMesh()) << i;
        const MeshData& mesh = model.MeshContents();
        EXPECT_FALSE(mesh.indices.empty()) << i;
        for (std::size_t m = 0; m < mesh.materials.size(); ++m) {
            if (!mesh.materials[m].textureFile.empty()) {
                EXPECT_NE(model.Textures()[m], nullptr) << i << ": " << mesh.materials[m].textureFile;
            }
        }
    }
}

TEST_F(ModelSetContentTest, WorldBoxesLieWithinTheMapAndTheSkyCoversIt)
{
    float minX = map.Point(0).x, maxX = minX, minZ = map.Point(0).z, maxZ = minZ;
    for (int i = 0; i < CLevelMap::kPointCount; ++i) {
        minX = std::min(minX, map.Point(i).x);
        maxX = std::max(maxX, map.Point(i).x);
        minZ = std::min(minZ, map.Point(i).z);
        maxZ = std::max(maxZ, map.Point(i).z);
    }
    const CModel& sky = renderer.Model(0);
    EXPECT_LE(sky.BoxMin().x, minX);
    EXPECT_GE(sky.BoxMax().x, maxX);
    EXPECT_LE(sky.BoxMin().z, minZ);
    EXPECT_GE(sky.BoxMax().z, maxZ);
    EXPECT_GT(sky.BoxMax().y, 20.0f);
    // Everything else stands on or near the ground (the eye is 2.5 above it), within a wall's
    // thickness of the floor plan's outline.
    const float margin = 5.0f;
    for (int i = 1; i < renderer.ModelCount(); ++i) {
        const CModel& model = renderer.Model(i);
        EXPECT_GE(model.BoxMin().x, minX - margin) << i;
        EXPECT_LE(model.BoxMax().x, maxX + margin) << i;
        EXPECT_GE(model.BoxMin().z, minZ - margin) << i;
        EXPECT_LE(model.BoxMax().z, maxZ + margin) << i;
        EXPECT_GE(model.BoxMin().y, -20.0f) << i;
        EXPECT_LE(model.BoxMin().y, 5.0f) << i;
        EXPECT_LT(model.BoxMax().y, 150.0f) << i;
        EXPECT_LT(model.BoxMin().x, model.BoxMax().x) << i;
        EXPECT_LT(model.BoxMin().z, model.BoxMax().z) << i;
    }
}
