#include "world/CRenderer.h"

#include "platform/MessageBox.h"
#include "world/CCamera.h"
#include "world/CLevelMap.h"
#include "world/CModel.h"
#include "world/FrustumPlanes.h"
#include "world/RecordingDevice.h"

#include "WorldTestFolder.h"

#include <glm/vec4.hpp>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

class CRendererTest : public testing::Test {
protected:
    WorldTestFolder folder;
    MessageCapture messages;
    RecordingDevice device;
    CRenderer renderer;

    bool InitWithModelSet()
    {
        WorldTestFolder::PlaceModelSet();
        return renderer.Init(device, 640, 480);
    }

    std::vector<std::string> StatusTexts() const { return device.CallsStartingWith("WriteStatusText"); }
};

}  // namespace

TEST_F(CRendererTest, ConstructorRegistersTheCurrentRenderer)
{
    EXPECT_EQ(CRenderer::Current(), &renderer);
    {
        CRenderer second;
        EXPECT_EQ(CRenderer::Current(), &second);
    }
    EXPECT_EQ(CRenderer::Current(), nullptr);
    EXPECT_EQ(renderer.ModelCount(), 0);
}

TEST_F(CRendererTest, InitWritesTheProgressTextsInOrder)
{
    ASSERT_TRUE(InitWithModelSet());
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_EQ(StatusTexts(), (std::vector<std::string>{
        "WriteStatusText 10 40 Cargando 2 ...",
        "WriteStatusText 10 40 Version posterior de PixelShader 1.1",
        "WriteStatusText 10 70 Version posterior de VertexShader 1.1",
        "WriteStatusText 10 100 Creado dispositivo 3D",
        "WriteStatusText 10 130 Cargando modelos gráficos...",
        "WriteStatusText 250 130 0%", "WriteStatusText 250 130 4%", "WriteStatusText 250 130 9%",
        "WriteStatusText 250 130 13%", "WriteStatusText 250 130 18%", "WriteStatusText 250 130 22%",
        "WriteStatusText 250 130 27%", "WriteStatusText 250 130 31%", "WriteStatusText 250 130 35%",
        "WriteStatusText 250 130 40%", "WriteStatusText 250 130 45%", "WriteStatusText 250 130 50%",
        "WriteStatusText 250 130 54%", "WriteStatusText 250 130 59%", "WriteStatusText 250 130 63%",
        "WriteStatusText 250 130 69%", "WriteStatusText 250 130 73%", "WriteStatusText 250 130 78%",
        "WriteStatusText 250 130 84%", "WriteStatusText 250 130 89%", "WriteStatusText 250 130 93%",
        "WriteStatusText 250 130 97%", "WriteStatusText 250 130 100%"}));
}

TEST_F(CRendererTest, InitSetsTheFixedStatesProjectionAndFontAfterTheModels)
{
    ASSERT_TRUE(InitWithModelSet());
    const std::vector<std::string>& calls = device.Calls();
    auto lastMesh = std::find(calls.rbegin(), calls.rend(), "WriteStatusText 250 130 100%").base();
    EXPECT_EQ(std::vector<std::string>(lastMesh, calls.end()), (std::vector<std::string>{
        "SetRenderState Lighting 0x00000000", "SetRenderState CullMode 0x00000001", "SetTransform Projection",
        "CreateFont Times New Roman 15 8 100"}));
    const glm::mat4& projection = device.Transform(TransformType::Projection);
    EXPECT_EQ(projection, renderer.ProjectionMatrix());
    EXPECT_FLOAT_EQ(projection[1][1], 1.0f / std::tan(0.7853982f / 2.0f));
    EXPECT_FLOAT_EQ(projection[1][1] / projection[0][0], 1.3333334f);
    EXPECT_FLOAT_EQ(projection[2][2], 5000.0f / 4999.0f);
}

TEST_F(CRendererTest, ShaderVersionsBelowOneOneAndNoVertexProcessingAreReported)
{
    device.caps = {ShaderVersion(1, 0), ShaderVersion(1, 0), 0};
    ASSERT_TRUE(InitWithModelSet());
    const std::vector<std::string> texts = StatusTexts();
    EXPECT_EQ(texts[1], "WriteStatusText 10 40 Version anterior de PixelShader 1.1");
    EXPECT_EQ(texts[2], "WriteStatusText 10 70 Version anterior de VertexShader 1.1");
    EXPECT_EQ(device.CallsStartingWith("CreateDevice"), std::vector<std::string>{"CreateDevice D16Lockable Software"});
}

TEST_F(CRendererTest, DepthFormatsAreTriedInOrderUntilOneSucceeds)
{
    device.unavailableDepthFormats = {DepthFormat::D16Lockable};
    ASSERT_TRUE(InitWithModelSet());
    EXPECT_EQ(device.CallsStartingWith("CreateDevice"),
        (std::vector<std::string>{"CreateDevice D16Lockable Hardware", "CreateDevice D16 Hardware"}));
}

TEST_F(CRendererTest, NoDepthFormatMeansNoDevice)
{
    device.unavailableDepthFormats = {DepthFormat::D16Lockable, DepthFormat::D16, DepthFormat::D15S1,
        DepthFormat::D24X8, DepthFormat::D24X4S4, DepthFormat::D24S8};
    EXPECT_FALSE(InitWithModelSet());
    EXPECT_EQ(device.CallsStartingWith("CreateDevice").size(), 6u);
    EXPECT_EQ(messages.Messages(),
        (std::vector<ShownMessage>{{"ERROR", "Fallo en CreateDevice()! Asegurate que tienes DirectX 9."}}));
    EXPECT_TRUE(device.CallsStartingWith("CreateMesh").empty());
}

TEST_F(CRendererTest, EachSetUpFailureHasItsMessage)
{
    struct Case {
        void (*breakDevice)(RecordingDevice&);
        std::vector<ShownMessage> expected;
    };
    const Case cases[] = {
        {[](RecordingDevice& d) { d.initializes = false; }, {{"ERROR", "Error, No se pudo inicializar DirectX"}}},
        {[](RecordingDevice& d) { d.hasDisplayMode = false; }, {{"ERROR", "Error colocando el modo display."}}},
        {[](RecordingDevice& d) { d.hasCaps = false; }, {}},
        {[](RecordingDevice& d) { d.deviceUsable = false; }, {{"ERROR", "D3D_Device es igual a nulo!"}}},
    };
    WorldTestFolder::PlaceModelSet();
    for (const Case& c : cases) {
        RecordingDevice broken;
        c.breakDevice(broken);
        CRenderer failing;
        messages.Clear();
        EXPECT_FALSE(failing.Init(broken, 640, 480));
        EXPECT_EQ(messages.Messages(), c.expected);
        EXPECT_EQ(failing.ModelCount(), 0);
        // A renderer without a device draws nothing and does not crash.
        broken.ClearCalls();
        failing.LoadIntro();
        failing.BeginFrame();
        failing.DrawIntro();
        failing.EndFrame();
        EXPECT_TRUE(broken.Calls().empty());
    }
}

TEST_F(CRendererTest, FontFailureIsReportedAndEndsTheProgramButInitSucceeds)
{
    device.fontAvailable = false;
    EXPECT_TRUE(InitWithModelSet());
    EXPECT_EQ(messages.Messages(),
        (std::vector<ShownMessage>{{kDefaultMessageCaption, "D3DXCreateFontIndirect() - FAILED"}}));
    EXPECT_EQ(device.Calls().back(), "RequestQuit 0");
    device.ClearCalls();
    renderer.DrawTextLine("x", 0, 640, 480);
    EXPECT_TRUE(device.Calls().empty());
}

TEST_F(CRendererTest, ModelSetIsLoadedInOrderWithItsPlacements)
{
    ASSERT_TRUE(InitWithModelSet());
    ASSERT_EQ(renderer.ModelCount(), CRenderer::kModelCount);
    // The test box spans (0, 0, 0)-(2, 1, 3) in model space: s·p + t.
    struct Expected {
        int index;
        float scale;
        glm::vec3 translation;
    };
    const Expected expected[] = {{0, 1.0f, {0.0f, -170.0f, 0.0f}}, {2, 0.03f, {19.0f, -2.5f, -8.0f}},
        {13, 0.5f, {-1.0f, -2.5f, 1.0f}}, {17, 0.2f, {72.0f, 0.0f, 432.0f}}, {20, 13.0f, {-291.0f, -3.0f, 478.0f}},
        {22, 0.1f, {165.0f, -2.0f, 230.0f}}};
    for (const Expected& e : expected) {
        const CModel& model = renderer.Model(e.index);
        EXPECT_EQ(model.BoxMin(), e.translation) << e.index;
        EXPECT_EQ(model.BoxMax(), glm::vec3(2.0f, 1.0f, 3.0f) * e.scale + e.translation) << e.index;
        const glm::vec4 corner = model.World() * glm::vec4(2.0f, 1.0f, 3.0f, 1.0f);
        EXPECT_EQ(glm::vec3(corner), model.BoxMax()) << e.index;
    }
    // The three crosses are separate models, each with its own mesh.
    EXPECT_EQ(device.CallsStartingWith("CreateMesh").size(), 23u);
}

TEST_F(CRendererTest, MissingModelIsReportedAndLoadingGoesOn)
{
    WorldTestFolder::PlaceModelSet();
    std::filesystem::remove("modelos/busto.x");
    ASSERT_TRUE(renderer.Init(device, 640, 480));
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"No se encuentra el archivo modelos/busto.x\n"});
    ASSERT_EQ(renderer.ModelCount(), 23);
    EXPECT_FALSE(renderer.Model(1).HasMesh());
    EXPECT_TRUE(renderer.Model(2).HasMesh());
    EXPECT_EQ(StatusTexts().size(), 28u);
}

TEST_F(CRendererTest, SceneFrameSetsSamplersViewAndPlanesBeforeTheModelsAndFogAfter)
{
    // Of the start cell's models, only the walls (a triangle ahead of the start pose) are in view.
    WorldTestFolder::PlaceModelSet();
    WorldTestFolder::Place("modelos/marco.x", "modelos/paredesA.x");
    ASSERT_TRUE(renderer.Init(device, 640, 480));
    CLevelMap map;
    CCamera camera;
    device.ClearCalls();
    renderer.BeginFrame();
    renderer.DrawScene(map);
    renderer.EndFrame();
    const std::vector<std::string>& calls = device.Calls();
    ASSERT_GE(calls.size(), 8u);
    EXPECT_EQ(std::vector<std::string>(calls.begin(), calls.begin() + 6), (std::vector<std::string>{
        "Clear 3 0x00AAAAAA 1 0", "BeginScene",
        "SetSamplerState 0 MagFilter 2", "SetSamplerState 0 MinFilter 2", "SetSamplerState 0 MipFilter 1",
        "SetTransform View"}));
    EXPECT_EQ(std::vector<std::string>(calls.end() - 9, calls.end()), (std::vector<std::string>{
        "SetRenderState FogEnable 0x00000001", "SetRenderState FogColor 0x00AAAAAA",
        "SetRenderState FogTableMode 0x00000003", "SetRenderState FogStart 0x41200000",
        "SetRenderState FogEnd 0x430C0000", "SetRenderState FogVertexMode 0x00000000",
        "SetRenderState FogTableMode 0x00000003", "EndScene", "Present"}));
    // No fog state before the models: the first scene frame has none.
    const auto firstDraw = std::find_if(calls.begin(), calls.end(),
        [](const std::string& call) { return call.rfind("DrawSubset", 0) == 0; });
    ASSERT_NE(firstDraw, calls.end());
    EXPECT_EQ(std::find(calls.begin(), firstDraw, "SetRenderState FogEnable 0x00000001"), firstDraw);
    EXPECT_EQ(device.CallsStartingWith("DrawSubset"), std::vector<std::string>{"DrawSubset mesh4 0"});
    EXPECT_TRUE(device.CallsStartingWith("DrawText").empty());
}

TEST_F(CRendererTest, SceneViewIsTheCameraLookAtAndPlanesFollowIt)
{
    ASSERT_TRUE(InitWithModelSet());
    CLevelMap map;
    CCamera camera;
    renderer.DrawScene(map);
    const glm::mat4& view = device.Transform(TransformType::View);
    EXPECT_EQ(view, renderer.ViewMatrix());
    // Start pose: the eye maps to the origin, a point ahead onto the +z axis.
    const glm::vec4 eye = view * glm::vec4(0.0f, 2.5f, 0.0f, 1.0f);
    const glm::vec4 ahead = view * glm::vec4(0.0f, 2.5f, 10.0f, 1.0f);
    EXPECT_NEAR(glm::length(glm::vec3(eye)), 0.0f, 1e-6f);
    EXPECT_NEAR(ahead.x, 0.0f, 1e-6f);
    EXPECT_NEAR(ahead.y, 0.0f, 1e-6f);
    EXPECT_NEAR(ahead.z, 10.0f, 1e-5f);
    const PlaneTable expected = ExtractPlanes(view, renderer.ProjectionMatrix());
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(CurrentFrustumPlanes()[i].d, expected[i].d);

    camera.TurnRight(3.14159265f);
    renderer.DrawScene(map);
    EXPECT_LT(CurrentFrustumPlanes()[5].c, -0.99f);  // the near plane now faces -z
}

TEST_F(CRendererTest, DrawListOfTheCurrentCellReachesTheModelsInOrder)
{
    ASSERT_TRUE(InitWithModelSet());
    CLevelMap map;
    CCamera camera;
    // Take in everything, so the draw list alone decides.
    PlaneTable everything;
    everything.fill({0.0f, 0.0f, 0.0f, 1.0f});
    device.ClearCalls();
    CurrentFrustumPlanes() = everything;
    for (int index : map.DrawList(map.GetCurrentCell()))
        renderer.DrawModel(index);
    std::vector<std::string> expected;
    for (int index : map.DrawList(map.GetCurrentCell()))
        expected.push_back("DrawSubset mesh" + std::to_string(index + 1) + " 0");
    std::vector<std::string> firstSubsets;
    for (const std::string& call : device.CallsStartingWith("DrawSubset"))
        if (call.back() == '0')
            firstSubsets.push_back(call);
    EXPECT_EQ(firstSubsets, expected);

    device.ClearCalls();
    renderer.DrawModel(-1);
    renderer.DrawModel(CRenderer::kModelCount);
    EXPECT_TRUE(device.Calls().empty());
}

TEST_F(CRendererTest, TextLinesAreRedAndTwentyPixelsApart)
{
    ASSERT_TRUE(InitWithModelSet());
    device.ClearCalls();
    renderer.DrawTextLine("Casilla Actual:19\n", 2, 640, 480);
    renderer.DrawTextLine("Frames por segundo D3D: 0.000000\n", 0, 640, 480);
    EXPECT_EQ(device.Calls(), (std::vector<std::string>{
        "DrawText font1 0 40 640 480 0xFFFF0000 Casilla Actual:19\n",
        "DrawText font1 0 0 640 480 0xFFFF0000 Frames por segundo D3D: 0.000000\n"}));
}

TEST_F(CRendererTest, IntroIsAQuadAtDepthTwoPointFourWithTheIntroTextureInOneBracket)
{
    ASSERT_TRUE(InitWithModelSet());
    WorldTestFolder::Place("texturas/piedra.ppm", "intro");
    device.ClearCalls();
    EXPECT_TRUE(renderer.LoadIntro());
    renderer.BeginFrame();
    EXPECT_TRUE(renderer.DrawIntro());
    renderer.EndFrame();
    EXPECT_EQ(device.Calls(), (std::vector<std::string>{
        "CreateVertexBuffer vb1 (-1.35 -1 2.4 / 0 1) (-1.35 1 2.4 / 0 0) (1.35 1 2.4 / 1 0)"
        " (-1.35 -1 2.4 / 0 1) (1.35 1 2.4 / 1 0) (1.35 -1 2.4 / 1 1)",
        "CreateTextureFromFile intro", "SetTexture 0 intro",
        "Clear 3 0x00AAAAAA 1 0", "BeginScene",
        "Clear 3 0xFFFFFFFF 1 0", "SetStreamSource vb1", "DrawTriangleList 0 2",
        "EndScene", "Present"}));
    // World and view are still the identity: nothing has set them.
    EXPECT_TRUE(device.CallsStartingWith("SetTransform").empty());
}

TEST_F(CRendererTest, IntroQuadJustCoversTheView)
{
    ASSERT_TRUE(InitWithModelSet());
    for (float x : {-1.35f, 1.35f}) {
        for (float y : {-1.0f, 1.0f}) {
            const glm::vec4 clip = renderer.ProjectionMatrix() * glm::vec4(x, y, 2.4f, 1.0f);
            EXPECT_GE(std::abs(clip.x / clip.w), 1.0f);
            EXPECT_LT(std::abs(clip.x / clip.w), 1.03f);
            EXPECT_GE(std::abs(clip.y / clip.w), 1.0f);
            EXPECT_LT(std::abs(clip.y / clip.w), 1.03f);
            EXPECT_GT(clip.z / clip.w, 0.0f);
        }
    }
}

TEST_F(CRendererTest, MissingIntroPictureLeavesTheQuadUntextured)
{
    ASSERT_TRUE(InitWithModelSet());
    device.ClearCalls();
    renderer.LoadIntro();
    EXPECT_EQ(device.CallsStartingWith("SetTexture"), std::vector<std::string>{"SetTexture 0 null"});
    EXPECT_TRUE(messages.Messages().empty());
}
