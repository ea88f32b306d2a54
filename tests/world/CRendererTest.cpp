#include "world/CRenderer.h"

#include "platform/MessageBox.h"
#include "tests/support/TemporaryFolder.h"
#include "tests/support/world/RecordingDevice.h"
#include "world/CCamera.h"
#include "world/CLevelMap.h"
#include "world/CModel.h"
#include "world/FrustumPlanes.h"

#include <glm/geometric.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>

#include <sys/stat.h>

namespace {

class CRendererTest : public testing::Test {
protected:
    // Every model file of the set, each a copy of the test box, and the box's texture.
    static void PlaceModelSet()
    {
        for (const char* name : {"cielo",    "busto",    "iglesia",  "paredesA", "paredesB", "paredesC", "paredesD",
                                 "paredesE", "paredesF", "paredesG", "sueloC",   "sueloD",   "sueloE",   "sueloF",
                                 "tumba1",   "puerta",   "cruz",     "torre2",   "torre",    "arco",     "cripta"})
            TemporaryFolder::CopyTestData("modelos/caja.x", std::string("modelos/") + name + ".x");
        TemporaryFolder::CopyTestData("texturas/piedra.ppm", "texturas/piedra.ppm");
    }
    bool InitWithModelSet()
    {
        PlaceModelSet();
        return renderer.Init(device, 640, 480);
    }
    std::vector<std::string> Calls(const std::string& prefix) const { return device.CallsStartingWith(prefix); }

    TemporaryFolder folder{"modelos", "texturas"};
    MessageCapture messages;
    RecordingDevice device;
    CRenderer renderer;
    CLevelMap map;
};

}  // namespace

TEST_F(CRendererTest, InitReportsItsProgressThenSetsTheFixedStatesProjectionAndFont)
{
    EXPECT_EQ(CRenderer::Instance(), &renderer);
    ASSERT_TRUE(InitWithModelSet());
    EXPECT_TRUE(messages.Messages().empty());
    std::vector<std::string> expected = {
        "WriteStatusText 10 40 Cargando 2 ...", "WriteStatusText 10 40 Version posterior de PixelShader 1.1",
        "WriteStatusText 10 70 Version posterior de VertexShader 1.1", "WriteStatusText 10 100 Creado dispositivo 3D",
        "WriteStatusText 10 130 Cargando modelos gráficos..."};
    for (int percent : {0, 4, 9, 13, 18, 22, 27, 31, 35, 40, 45, 50, 54, 59, 63, 69, 73, 78, 84, 89, 93, 97, 100})
        expected.push_back("WriteStatusText 250 130 " + std::to_string(percent) + "%");
    EXPECT_EQ(Calls("WriteStatusText"), expected);
    const std::vector<std::string>& calls = device.Calls();
    EXPECT_EQ(std::vector<std::string>(std::find(calls.begin(), calls.end(), expected.back()) + 1, calls.end()),
              (std::vector<std::string>{"SetRenderState Lighting 0x00000000", "SetRenderState CullMode 0x00000001",
                                        "SetTransform Projection", "CreateFont Times New Roman 15 8 100"}));
    const glm::mat4& projection = device.Transform(TransformType::Projection);
    EXPECT_EQ(projection, renderer.ProjectionMatrix());
    EXPECT_FLOAT_EQ(projection[1][1], 1.0f / std::tan(0.7853982f / 2.0f));
    EXPECT_FLOAT_EQ(projection[1][1] / projection[0][0], 1.3333334f);
    EXPECT_FLOAT_EQ(projection[2][2], 5000.0f / 4999.0f);

    // The model set in order, each placed by scaling the box (0, 0, 0)-(2, 1, 3), then translating.
    ASSERT_EQ(renderer.ModelCount(), CRenderer::kModelCount);
    EXPECT_EQ(Calls("CreateMesh").size(), 23u) << "the three crosses have a mesh each";
    const std::tuple<int, float, glm::vec3> placements[] = {{0, 1.0f, {0, -170, 0}},     {1, 5.0f, {-20, -2.5f, -62}},
                                                            {2, 0.03f, {19, -2.5f, -8}}, {13, 0.5f, {-1, -2.5f, 1}},
                                                            {17, 0.2f, {72, 0, 432}},    {22, 0.1f, {165, -2, 230}}};
    for (const auto& [index, scale, translation] : placements) {
        EXPECT_EQ(renderer.Model(index).BoxMin(), translation) << index;
        EXPECT_EQ(renderer.Model(index).BoxMax(), glm::vec3(2, 1, 3) * scale + translation) << index;
    }
}

// Failures leave a renderer that draws nothing; shortcomings are reported and set-up goes on.
TEST_F(CRendererTest, SetUpFailuresAndShortcomingsHaveTheirMessages)
{
    const std::pair<void (*)(RecordingDevice&), std::vector<ShownMessage>> cases[] = {
        {[](RecordingDevice& d) { d.initializes = false; }, {{"ERROR", "Error, No se pudo inicializar DirectX"}}},
        {[](RecordingDevice& d) { d.hasDisplayMode = false; }, {{"ERROR", "Error colocando el modo display."}}},
        {[](RecordingDevice& d) { d.hasCaps = false; }, {}},
        {[](RecordingDevice& d) {
             d.unavailableDepthFormats = {DepthFormat::D16Lockable, DepthFormat::D16,     DepthFormat::D15S1,
                                          DepthFormat::D24X8,       DepthFormat::D24X4S4, DepthFormat::D24S8};
         },
         {{"ERROR", "Fallo en CreateDevice()! Asegurate que tienes DirectX 9."}}},
        {[](RecordingDevice& d) { d.deviceUsable = false; }, {{"ERROR", "D3D_Device es igual a nulo!"}}},
    };
    PlaceModelSet();
    for (const auto& [breakDevice, expected] : cases) {
        RecordingDevice broken;
        breakDevice(broken);
        CRenderer failing;
        messages.Clear();
        EXPECT_FALSE(failing.Init(broken, 640, 480));
        EXPECT_EQ(messages.Messages(), expected);
        EXPECT_EQ(failing.ModelCount(), 0);
        broken.ClearCalls();
        failing.LoadIntro();
        failing.BeginFrame();
        failing.DrawIntro();
        failing.DrawScene(map);
        failing.DrawTextLine("x", 0, 640, 480);
        failing.EndFrame();
        EXPECT_TRUE(broken.Calls().empty());
    }
    // Old shaders are named; no hardware vertex processing asks for software; the depth formats are
    // tried in order. A missing model is reported, keeps its place and is not measured; loading goes on.
    // Without a font it says so and ends the program, but goes on until then without text.
    device.caps = {ShaderVersion(1, 0), ShaderVersion(1, 0), 0};
    device.unavailableDepthFormats = {DepthFormat::D16Lockable};
    device.fontAvailable = false;
    std::filesystem::remove("modelos/busto.x");
    messages.Clear();
    ASSERT_TRUE(renderer.Init(device, 640, 480));
    const std::vector<std::string> texts = Calls("WriteStatusText");
    ASSERT_EQ(texts.size(), 28u);
    EXPECT_EQ(texts[1] + texts[2],
              "WriteStatusText 10 40 Version anterior de PixelShader 1.1"
              "WriteStatusText 10 70 Version anterior de VertexShader 1.1");
    EXPECT_EQ(Calls("CreateDevice"),
              (std::vector<std::string>{"CreateDevice D16Lockable Software", "CreateDevice D16 Software"}));
    EXPECT_EQ(messages.Texts(),
              (std::vector<std::string>{"No se encuentra el archivo modelos/busto.x\n",
                                        "D3DXCreateFontIndirect() - FAILED"}));
    EXPECT_EQ(device.Calls().back(), "RequestQuit 0");
    ASSERT_EQ(renderer.ModelCount(), 23);
    EXPECT_FALSE(renderer.Model(1).HasMesh());
    EXPECT_TRUE(renderer.Model(2).HasMesh());
    device.ClearCalls();
    renderer.DrawTextLine("x", 0, 640, 480);
    EXPECT_TRUE(device.Calls().empty());
}

// A cross that asks for two thousand million vertices costs the three crosses, within seconds;
// the rest loads.
TEST_F(CRendererTest, AModelThatCannotBeReadCostsOnlyItsOwnPlaces)
{
    PlaceModelSet();
    std::ofstream("modelos/cruz.x") << "xof 0303txt 0032\nMesh Enorme {\n 2000000000;\n 0.0;0.0;0.0;,\n 1.0;0.0;0.0;,\n"
                                       " 0.0;1.0;0.0;;\n 1;\n 3;0,1,2;;\n}\n";
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(renderer.Init(device, 640, 480));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    EXPECT_EQ(messages.Texts(), std::vector<std::string>(3, "No se puede leer el archivo modelos/cruz.x\n"));
    ASSERT_EQ(renderer.ModelCount(), 23);
    for (int i = 0; i < renderer.ModelCount(); ++i)
        EXPECT_EQ(renderer.Model(i).HasMesh(), i < 16 || i > 18) << i;
}

// The program's own content: every model is read and every texture its materials name is found.
TEST_F(CRendererTest, TheContentInDataLoadsWholeWithItsTextures)
{
    for (const char* entry : {"modelos", "texturas"})
        std::filesystem::remove(entry);
    TemporaryFolder::LinkContent({"modelos", "texturas"});
    ASSERT_TRUE(renderer.Init(device, 640, 480));
    EXPECT_TRUE(messages.Messages().empty());
    for (int i = 0; i < CRenderer::kModelCount; ++i) {
        const CModel& model = renderer.Model(i);
        ASSERT_TRUE(model.HasMesh()) << i;
        for (std::size_t m = 0; m < model.MeshContents().materials.size(); ++m)
            if (!model.MeshContents().materials[m].textureFile.empty()) {
                EXPECT_NE(model.Textures()[m], nullptr) << "model " << i << " material " << m;
            }
    }
}

// Without its picture the intro says so and stays white; a FIFO of that name is not waited for.
TEST_F(CRendererTest, AnIntroPictureThatIsMissingOrNoFileIsNamed)
{
    ASSERT_TRUE(InitWithModelSet());
    messages.Clear();
    renderer.LoadIntro();
    ASSERT_EQ(::mkfifo("intro", 0644), 0);
    renderer.LoadIntro();
    EXPECT_EQ(messages.Texts(),
              (std::vector<std::string>{"No se encuentra el archivo intro", "No se puede leer el archivo intro"}));
    EXPECT_EQ(Calls("SetTexture"), std::vector<std::string>(2, "SetTexture 0 null"));
}

TEST_F(CRendererTest, SceneFrameSetsSamplersViewAndPlanesBeforeTheModelsAndFogAfter)
{
    // Of the start cell's models, only the walls (a triangle ahead of the start pose) are in view.
    PlaceModelSet();
    TemporaryFolder::CopyTestData("modelos/marco.x", "modelos/paredesA.x");
    ASSERT_TRUE(renderer.Init(device, 640, 480));
    CCamera camera;
    device.ClearCalls();
    renderer.BeginFrame();
    renderer.DrawScene(map);
    renderer.EndFrame();
    // The wall's draw between the view and the fog, so the first scene frame has none; no overlay text.
    EXPECT_EQ(device.Calls(),
              (std::vector<std::string>{"Clear 3 0x00AAAAAA 1 0", "BeginScene", "SetSamplerState 0 MagFilter 2",
                                        "SetSamplerState 0 MinFilter 2", "SetSamplerState 0 MipFilter 1",
                                        "SetTransform View", "SetTransform World", "SetMaterial 0.5 0.5 0.5 1",
                                        "SetTexture 0 null", "DrawSubset mesh4 0",
                                        "SetRenderState FogEnable 0x00000001", "SetRenderState FogColor 0x00AAAAAA",
                                        "SetRenderState FogTableMode 0x00000003", "SetRenderState FogStart 0x41200000",
                                        "SetRenderState FogEnd 0x430C0000", "SetRenderState FogVertexMode 0x00000000",
                                        "SetRenderState FogTableMode 0x00000003", "EndScene", "Present"}));
    // The camera's view, with the eye at the origin looking along +z; the planes follow it.
    const glm::mat4& view = device.Transform(TransformType::View);
    EXPECT_NEAR(glm::distance(glm::vec3(view * glm::vec4(0, 2.5f, 10, 1)), glm::vec3(0, 0, 10)), 0.0f, 1e-5f);
    EXPECT_EQ(CurrentFrustumPlanes()[5].d, ExtractPlanes(view, renderer.ProjectionMatrix())[5].d);
    camera.TurnRight(3.14159265f);
    renderer.DrawScene(map);
    EXPECT_LT(CurrentFrustumPlanes()[5].c, -0.99f) << "the near plane now faces -z";
}

// The current cell's draw list reaches the models in order; text lines are red, 20 pixels apart.
TEST_F(CRendererTest, DrawListTextLinesAndTheIntroQuad)
{
    ASSERT_TRUE(InitWithModelSet());
    ASSERT_TRUE(map.TryMove(0, 0, 0, 5));
    CurrentFrustumPlanes().fill({0.0f, 0.0f, 0.0f, 1.0f});  // everything in view: the list alone decides
    device.ClearCalls();
    map.DrawVisible();
    renderer.DrawModel(-1);
    renderer.DrawModel(CRenderer::kModelCount);
    std::vector<std::string> expected;
    for (int index : map.DrawList(1))
        for (int subset = 0; subset < 3; ++subset)
            expected.push_back("DrawSubset mesh" + std::to_string(index + 1) + " " + std::to_string(subset));
    EXPECT_EQ(Calls("DrawSubset"), expected);

    TemporaryFolder::CopyTestData("texturas/piedra.ppm", "intro");
    device.ClearCalls();
    renderer.DrawTextLine("Casilla Actual:19\n", 2, 640, 480);
    renderer.DrawTextLine("Frames por segundo D3D: 0.000000\n", 0, 640, 480);
    // The intro: a quad at depth 2.4 with the "intro" texture, under the identity world and view.
    EXPECT_TRUE(renderer.LoadIntro());
    renderer.BeginFrame();
    EXPECT_TRUE(renderer.DrawIntro());
    renderer.EndFrame();
    EXPECT_EQ(device.Calls(),
              (std::vector<std::string>{
                  "DrawText font1 0 40 640 480 0xFFFF0000 Casilla Actual:19\n",
                  "DrawText font1 0 0 640 480 0xFFFF0000 Frames por segundo D3D: 0.000000\n",
                  "CreateVertexBuffer vb1 (-1.35 -1 2.4 / 0 1) (-1.35 1 2.4 / 0 0) (1.35 1 2.4 / 1 0)"
                  " (-1.35 -1 2.4 / 0 1) (1.35 1 2.4 / 1 0) (1.35 -1 2.4 / 1 1)",
                  "CreateTextureFromFile intro", "SetTexture 0 intro", "Clear 3 0x00AAAAAA 1 0", "BeginScene",
                  "Clear 3 0xFFFFFFFF 1 0", "SetStreamSource vb1", "DrawTriangleList 0 2", "EndScene", "Present"}));
}
