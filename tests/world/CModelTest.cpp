#include "world/CModel.h"

#include "platform/MessageBox.h"
#include "tests/support/TemporaryFolder.h"
#include "tests/support/world/RecordingDevice.h"
#include "world/FrustumPlanes.h"
#include "world/MeshReaderProcess.h"

#include <glm/ext/matrix_clip_space.hpp>
#include <glm/ext/matrix_transform.hpp>
#include <glm/vec2.hpp>
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <tuple>

#include <sys/stat.h>

namespace {

glm::mat4 At(const glm::vec3& translation, float scale = 1.0f)
{
    return glm::translate(glm::mat4(1.0f), translation) * glm::scale(glm::mat4(1.0f), glm::vec3(scale));
}

class CModelTest : public testing::Test {
protected:
    void SetUp() override
    {
        // The start pose's frustum: eye (0, 2.5, 0) looking along +z.
        const glm::mat4 view = glm::lookAtLH(glm::vec3(0, 2.5f, 0), glm::vec3(0, 2.5f, 1), glm::vec3(0, 1, 0));
        CurrentFrustumPlanes() = ExtractPlanes(view, glm::perspectiveLH_ZO(0.7853982f, 640.0f / 480.0f, 1.0f, 5000.0f));
        TemporaryFolder::CopyTestData("modelos/caja.x", "modelos/caja.x");
        boxText = TemporaryFolder::Read("modelos/caja.x");
    }

    TemporaryFolder folder{"modelos", "texturas"};
    MessageCapture messages;
    RecordingDevice device;
    std::string boxText;
};

}  // namespace

// The box has three materials, the first textured: three material, texture and subset calls in
// order. Behind the viewer or far beside, it makes no call at all.
TEST_F(CModelTest, VisibleModelDrawsEverySubsetInOrderAndACulledOneNothing)
{
    TemporaryFolder::CopyTestData("texturas/piedra.ppm", "texturas/piedra.ppm");
    CModel model(device, "modelos\\caja.x", At({-1.0f, 1.0f, 10.0f}, 0.5f));
    CModel behind(device, "modelos\\caja.x", At({0.0f, 0.0f, -20.0f}));
    CModel beside(device, "modelos\\caja.x", At({100.0f, 0.0f, 10.0f}));
    EXPECT_TRUE(messages.Messages().empty());
    // Model box (0, 0, 0)-(2, 1, 3), scaled then translated: read left-handed, z not mirrored.
    EXPECT_EQ(model.BoxMin(), glm::vec3(-1.0f, 1.0f, 10.0f));
    EXPECT_EQ(model.BoxMax(), glm::vec3(0.0f, 1.5f, 11.5f));
    // Identical vertices joined (eight corners of stone, four of red); five quads of stone, one of
    // red, none of green, in material order; texture coordinates as written (v = 1 at the bottom).
    const MeshData& mesh = model.MeshContents();
    EXPECT_EQ(mesh.vertices.size(), 12u);
    ASSERT_EQ(mesh.subsets.size(), 3u);
    EXPECT_EQ(std::make_tuple(mesh.subsets[0].indexCount, mesh.subsets[1].firstIndex, mesh.subsets[1].indexCount),
              std::make_tuple(30, 30, 6));
    for (const MeshVertex& v : mesh.vertices) {
        if (v.position[0] == 0 && v.position[1] == 0 && v.position[2] == 0) {
            EXPECT_EQ(glm::vec2(v.uv[0], v.uv[1]), glm::vec2(0, 1)) << "the corner at the origin";
        }
    }
    EXPECT_EQ(device.CallsStartingWith("CreateTextureFromFile"),
              std::vector<std::string>(3, "CreateTextureFromFile texturas/piedra.ppm"));
    for (const Material& material : model.Materials())
        EXPECT_EQ(std::memcmp(&material.ambient, &material.diffuse, sizeof(ColorValue)), 0) << "ambient from diffuse";
    device.ClearCalls();
    behind.Draw();
    beside.Draw();
    EXPECT_TRUE(device.Calls().empty());
    model.Draw();
    EXPECT_EQ(device.Calls(),
              (std::vector<std::string>{"SetTransform World", "SetMaterial 1 1 1 1", "SetTexture 0 texturas/piedra.ppm",
                                        "DrawSubset mesh1 0", "SetMaterial 1 0 0 1", "SetTexture 0 null",
                                        "DrawSubset mesh1 1", "SetMaterial 0 1 0 1", "SetTexture 0 null",
                                        "DrawSubset mesh1 2"}));
    EXPECT_EQ(device.Transform(TransformType::World), model.World());
}

// Missing, broken, garbage or not files at all: the message, no box, and nothing drawn even in full
// view. A file that crashes Assimp or makes it wait for ever costs only its model.
TEST_F(CModelTest, UnreadableFileIsReportedAndTheModelIsNeitherMeasuredNorDrawn)
{
    TemporaryFolder::CopyTestData("modelos/roto.x", "modelos/roto.x");
    // A normal index of -16, found by fuzzing: Assimp itself reads far outside the normals.
    TemporaryFolder::CopyTestData("fuzz-regressions/xmodel/indice-negativo.x", "modelos/indice.x");
    std::string garbage;
    for (std::uint32_t i = 0, state = 7; i < 4096; ++i)
        garbage.push_back(static_cast<char>((state = state * 1664525u + 1013904223u) >> 24));
    std::ofstream("modelos/basura.x", std::ios::binary) << garbage;
    std::ofstream("modelos/basura-bin.x", std::ios::binary) << "xof 0303bin 0032" + garbage;
    std::ofstream("modelos/basura-txt.x", std::ios::binary) << "xof 0303txt 0032\n" + garbage;
    std::filesystem::create_directory("modelos/carpeta.x");
    ASSERT_EQ(::mkfifo("modelos/fifo.x", 0644), 0);
    CurrentFrustumPlanes().fill({0.0f, 0.0f, 0.0f, 1.0f});
    for (const std::string name :
         {"busto", "roto", "indice", "basura", "basura-bin", "basura-txt", "carpeta", "fifo"}) {
        messages.Clear();
        CModel model(device, "modelos\\" + name + ".x", glm::mat4(1.0f));
        const std::string text =
            (name == "busto" ? "No se encuentra el archivo modelos/" : "No se puede leer el archivo modelos/") + name +
            ".x\n";
        EXPECT_EQ(messages.Messages(), (std::vector<ShownMessage>{{kDefaultMessageCaption, text}}));
        EXPECT_FALSE(model.HasMesh());
        EXPECT_EQ(model.BoxMin(), glm::vec3(std::numeric_limits<float>::max()));
        EXPECT_EQ(model.BoxMax(), model.BoxMin());
        device.ClearCalls();
        model.Draw();
        EXPECT_TRUE(device.Calls().empty()) << name;
    }
    // The reader gives up on a file at its time limit (here a FIFO nobody writes to).
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(MeshReaderProcess::Read("modelos/fifo.x", 300).outcome, ModelReading::TimedOut);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

// A missing texture, or a name no file can have (an unterminated name in a broken file runs on for
// thousands of characters), is silent and leaves its subset untextured.
TEST_F(CModelTest, MissingTextureIsSilentAndTheSubsetIsDrawnUntextured)
{
    std::ofstream("modelos/largo.x") << boxText.replace(boxText.find("piedra.ppm"), 10, std::string(5000, 'p'));
    for (const char* file : {"modelos\\caja.x", "modelos\\largo.x"}) {
        CModel model(device, file, At({0.0f, 0.0f, 10.0f}));
        ASSERT_TRUE(model.HasMesh());
        device.ClearCalls();
        model.Draw();
        EXPECT_EQ(device.CallsStartingWith("SetTexture"), std::vector<std::string>(3, "SetTexture 0 null")) << file;
    }
    EXPECT_TRUE(messages.Messages().empty());
    // One that is no file to read (a FIFO) is named once, however often it is used.
    ASSERT_EQ(::mkfifo("texturas/piedra.ppm", 0644), 0);
    for (int i = 0; i < 2; ++i) {
        CModel model(device, "modelos\\caja.x", At({0.0f, 0.0f, 10.0f}));
        EXPECT_EQ(model.Textures()[0], nullptr);
    }
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"No se puede leer el archivo texturas/piedra.ppm\n"});
}
