#include "world/CModel.h"

#include "platform/MessageBox.h"
#include "world/FrustumPlanes.h"
#include "world/RecordingDevice.h"

#include "WorldTestFolder.h"

#include <glm/ext/matrix_clip_space.hpp>
#include <glm/ext/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace {

glm::mat4 Placement(float scale, const glm::vec3& translation)
{
    return glm::translate(glm::mat4(1.0f), translation) * glm::scale(glm::mat4(1.0f), glm::vec3(scale));
}

// The start pose's frustum: eye (0, 2.5, 0) looking along +z.
void UseStartViewPlanes()
{
    const glm::mat4 view = glm::lookAtLH(glm::vec3(0.0f, 2.5f, 0.0f), glm::vec3(0.0f, 2.5f, 1.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    CurrentFrustumPlanes() = ExtractPlanes(view, glm::perspectiveLH_ZO(0.7853982f, 640.0f / 480.0f, 1.0f, 5000.0f));
}

// While alive, LeakSanitizer does not count the blocks allocated.
class AssimpLeaksIgnored {
public:
#if defined(__SANITIZE_ADDRESS__)
    AssimpLeaksIgnored() { __lsan_disable(); }
    ~AssimpLeaksIgnored() { __lsan_enable(); }
#endif
};

class CModelTest : public testing::Test {
protected:
    WorldTestFolder folder;
    MessageCapture messages;
    RecordingDevice device;
};

}  // namespace

TEST_F(CModelTest, BoxIsTheVertexBoxScaledThenTranslated)
{
    WorldTestFolder::Place("modelos/caja.x", "modelos/caja.x");
    CModel model(device, "modelos\\caja.x", Placement(0.5f, {-1.0f, -2.5f, 1.0f}));
    ASSERT_TRUE(model.HasMesh());
    // Model box (0, 0, 0)-(2, 1, 3) -> 0.5·p + t.
    EXPECT_EQ(model.BoxMin(), glm::vec3(-1.0f, -2.5f, 1.0f));
    EXPECT_EQ(model.BoxMax(), glm::vec3(0.0f, -2.0f, 2.5f));
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(CModelTest, MaterialsTakeAmbientFromDiffuseAndTexturesFromTheTextureFolder)
{
    WorldTestFolder::Place("modelos/caja.x", "modelos/caja.x");
    WorldTestFolder::Place("texturas/piedra.ppm", "texturas/piedra.ppm");
    CModel model(device, "modelos\\caja.x", glm::mat4(1.0f));
    ASSERT_EQ(model.Materials().size(), 3u);
    for (const Material& material : model.Materials()) {
        EXPECT_EQ(material.ambient.r, material.diffuse.r);
        EXPECT_EQ(material.ambient.g, material.diffuse.g);
        EXPECT_EQ(material.ambient.b, material.diffuse.b);
        EXPECT_EQ(material.ambient.a, material.diffuse.a);
    }
    EXPECT_EQ(device.CallsStartingWith("CreateTextureFromFile"),
        std::vector<std::string>{"CreateTextureFromFile texturas/piedra.ppm"});
    ASSERT_EQ(model.Textures().size(), 3u);
    EXPECT_NE(model.Textures()[0], nullptr);
    EXPECT_EQ(model.Textures()[1], nullptr);
    EXPECT_EQ(model.Textures()[2], nullptr);
}

TEST_F(CModelTest, VisibleModelDrawsEverySubsetWithItsMaterialAndTextureInOrder)
{
    WorldTestFolder::Place("modelos/caja.x", "modelos/caja.x");
    WorldTestFolder::Place("texturas/piedra.ppm", "texturas/piedra.ppm");
    CModel model(device, "modelos\\caja.x", Placement(1.0f, {0.0f, 0.0f, 10.0f}));
    UseStartViewPlanes();
    device.ClearCalls();
    model.Draw();
    EXPECT_EQ(device.Calls(), (std::vector<std::string>{
        "SetTransform World",
        "SetMaterial 1 1 1 1", "SetTexture 0 texturas/piedra.ppm", "DrawSubset mesh1 0",
        "SetMaterial 1 0 0 1", "SetTexture 0 null", "DrawSubset mesh1 1",
        "SetMaterial 0 1 0 1", "SetTexture 0 null", "DrawSubset mesh1 2"}));
    EXPECT_EQ(device.Transform(TransformType::World), model.World());
}

TEST_F(CModelTest, CulledModelMakesNoDeviceCallAtAll)
{
    WorldTestFolder::Place("modelos/caja.x", "modelos/caja.x");
    // Behind the start pose, then far to its right.
    CModel behind(device, "modelos\\caja.x", Placement(1.0f, {0.0f, 0.0f, -20.0f}));
    CModel beside(device, "modelos\\caja.x", Placement(1.0f, {100.0f, 0.0f, 10.0f}));
    UseStartViewPlanes();
    device.ClearCalls();
    EXPECT_FALSE(behind.IsInFrustum());
    EXPECT_FALSE(beside.IsInFrustum());
    behind.Draw();
    beside.Draw();
    EXPECT_TRUE(device.Calls().empty());
}

TEST_F(CModelTest, MissingFileIsReportedAndTheModelIsNeitherMeasuredNorDrawn)
{
    CModel model(device, "modelos\\busto.x", glm::mat4(1.0f));
    EXPECT_EQ(messages.Messages(),
        (std::vector<ShownMessage>{{kDefaultMessageCaption, "No se encuentra el archivo modelos/busto.x\n"}}));
    EXPECT_FALSE(model.HasMesh());
    EXPECT_EQ(model.BoxMin(), glm::vec3(std::numeric_limits<float>::max()));
    EXPECT_EQ(model.BoxMax(), glm::vec3(std::numeric_limits<float>::max()));
    // Even with a frustum that takes in everything, nothing is drawn.
    PlaneTable everything;
    everything.fill({0.0f, 0.0f, 0.0f, 1.0f});
    CurrentFrustumPlanes() = everything;
    device.ClearCalls();
    model.Draw();
    EXPECT_TRUE(device.Calls().empty());
}

TEST_F(CModelTest, UnreadableFileIsReportedLikeAMissingOne)
{
    WorldTestFolder::Place("modelos/roto.x", "modelos/roto.x");
    CModel model(device, "modelos\\roto.x", glm::mat4(1.0f));
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"No se encuentra el archivo modelos/roto.x\n"});
    EXPECT_FALSE(model.HasMesh());
}

TEST_F(CModelTest, GarbageIsReportedLikeAMissingFile)
{
    std::string garbage;
    std::uint32_t state = 7;
    for (int i = 0; i < 4096; ++i) {
        state = state * 1664525u + 1013904223u;
        garbage.push_back(static_cast<char>(state >> 24));
    }
    std::filesystem::create_directories("modelos");
    const std::string files[] = {garbage, "xof 0303bin 0032" + garbage, "xof 0303txt 0032\n" + garbage};
    for (const std::string& bytes : files) {
        messages.Clear();
        std::ofstream("modelos/basura.x", std::ios::binary | std::ios::trunc) << bytes;
        // Assimp's text parser drops what it had built when it gives up on a file: a small
        // leak inside the system library, at start-up only, that is not this program's.
        [[maybe_unused]] AssimpLeaksIgnored ignored;
        CModel model(device, "modelos\\basura.x", glm::mat4(1.0f));
        EXPECT_EQ(messages.Texts(), std::vector<std::string>{"No se encuentra el archivo modelos/basura.x\n"});
        EXPECT_FALSE(model.HasMesh());
    }
}

TEST_F(CModelTest, ATextureNameNoFileCanHaveIsAMissingTexture)
{
    // An unterminated name in a broken file runs on for thousands of characters.
    std::ifstream box(WorldTestFolder::TestData("modelos/caja.x"));
    std::string text((std::istreambuf_iterator<char>(box)), std::istreambuf_iterator<char>());
    text.replace(text.find("piedra.ppm"), 10, std::string(5000, 'p'));
    std::filesystem::create_directories("modelos");
    std::ofstream("modelos/caja.x") << text;

    CModel model(device, "modelos\\caja.x", glm::mat4(1.0f));
    EXPECT_TRUE(messages.Messages().empty());
    ASSERT_TRUE(model.HasMesh());
    for (DeviceTexture* texture : model.Textures())
        EXPECT_EQ(texture, nullptr);
}

TEST_F(CModelTest, MissingTextureIsSilentAndTheSubsetIsDrawnUntextured)
{
    WorldTestFolder::Place("modelos/caja.x", "modelos/caja.x");
    CModel model(device, "modelos\\caja.x", Placement(1.0f, {0.0f, 0.0f, 10.0f}));
    EXPECT_TRUE(messages.Messages().empty());
    UseStartViewPlanes();
    device.ClearCalls();
    model.Draw();
    EXPECT_EQ(device.CallsStartingWith("SetTexture"),
        (std::vector<std::string>{"SetTexture 0 null", "SetTexture 0 null", "SetTexture 0 null"}));
}
