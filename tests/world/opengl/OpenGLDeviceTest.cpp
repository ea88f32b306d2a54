#include "world/opengl/OpenGLDevice.h"

#include "world/ColorValue.h"

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QMainWindow>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QTemporaryDir>
#include <QTest>

#include <glm/ext/matrix_clip_space.hpp>
#include <glm/ext/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <utility>

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

glm::mat4 Projection()
{
    return glm::perspectiveLH_ZO(0.7853982f, 640.0f / 480.0f, 1.0f, 5000.0f);
}

Material Diffuse(float r, float g, float b)
{
    return {{r, g, b, 1.0f}, {r, g, b, 1.0f}, {}, {}, 0.0f};
}

// An axis-aligned rectangle facing the viewer at depth z, x from x0 to x1, y from y0 to y1,
// with the picture's top row at the top (v = 0).
void AddRectangle(MeshData& mesh, float x0, float y0, float x1, float y1, float z)
{
    const auto base = static_cast<std::uint32_t>(mesh.vertices.size());
    mesh.vertices.push_back({{x0, y0, z}, {0, 0, -1}, {0, 1}});
    mesh.vertices.push_back({{x0, y1, z}, {0, 0, -1}, {0, 0}});
    mesh.vertices.push_back({{x1, y1, z}, {0, 0, -1}, {1, 0}});
    mesh.vertices.push_back({{x1, y0, z}, {0, 0, -1}, {1, 1}});
    const MeshSubset subset = {static_cast<std::uint32_t>(mesh.indices.size()), 6};
    for (std::uint32_t index : {0u, 1u, 2u, 0u, 2u, 3u})
        mesh.indices.push_back(base + index);
    mesh.subsets.push_back(subset);
}

std::uint32_t Bits(float value)
{
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// Whether the pixel's channels are within `tolerance` of the colour.
::testing::AssertionResult PixelIs(const QImage& image, int x, int y, int r, int g, int b, int tolerance = 2)
{
    const QRgb pixel = image.pixel(x, y);
    if (std::abs(qRed(pixel) - r) <= tolerance && std::abs(qGreen(pixel) - g) <= tolerance
        && std::abs(qBlue(pixel) - b) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is (" << qRed(pixel) << ", "
                                         << qGreen(pixel) << ", " << qBlue(pixel) << "), expected (" << r << ", "
                                         << g << ", " << b << ")";
}

class OpenGLDeviceTest : public testing::Test {
protected:
    void SetUp() override
    {
        device.resize(kWidth, kHeight);
        device.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&device));
        ASSERT_TRUE(device.Initialize());
        ASSERT_TRUE(device.CreateDevice(DepthFormat::D16Lockable, VertexProcessing::Hardware));
        device.SetRenderState(RenderState::CullMode, CullNone);
        device.SetTransform(TransformType::Projection, Projection());
    }

    void BeginFrame(std::uint32_t color = PackColor(kClearColor))
    {
        device.Clear(ClearTarget | ClearZBuffer, color, 1.0f, 0);
        device.BeginScene();
    }

    void EndFrame()
    {
        device.EndScene();
        device.Present();
    }

    void DrawMesh(const MeshData& data, const Material& material, DeviceTexture* texture = nullptr)
    {
        DeviceMesh* mesh = device.CreateMesh(data);
        device.SetMaterial(material);
        device.SetTexture(0, texture);
        for (std::size_t i = 0; i < data.subsets.size(); ++i)
            device.DrawSubset(mesh, static_cast<int>(i));
    }

    void EnableFog()
    {
        device.SetRenderState(RenderState::FogEnable, 1);
        device.SetRenderState(RenderState::FogColor, 0xAAAAAA);
        device.SetRenderState(RenderState::FogTableMode, FogLinear);
        device.SetRenderState(RenderState::FogStart, Bits(10.0f));
        device.SetRenderState(RenderState::FogEnd, Bits(140.0f));
        device.SetRenderState(RenderState::FogVertexMode, FogNone);
    }

    // A picture with its top half red and bottom half blue, saved without a file name extension.
    std::string WriteTwoColourPicture(const QString& name)
    {
        QImage picture(8, 8, QImage::Format_RGB32);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                picture.setPixel(x, y, y < 4 ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
        const QString path = folder.filePath(name);
        EXPECT_TRUE(picture.save(path, "PNG"));
        return path.toStdString();
    }

    QTemporaryDir folder;
    OpenGLDevice device;
};

}  // namespace

TEST_F(OpenGLDeviceTest, SixteenBitDepthIsTakenAndFifteenBitDepthDoesNotExist)
{
    EXPECT_EQ(device.DepthBits(), 16);
    EXPECT_TRUE(device.HasDevice());
    EXPECT_FALSE(device.CreateDevice(DepthFormat::D15S1, VertexProcessing::Hardware));
    EXPECT_TRUE(device.CreateDevice(DepthFormat::D24S8, VertexProcessing::Software));
    EXPECT_GE(device.DepthBits(), 24);
    DeviceCaps caps{};
    ASSERT_TRUE(device.GetCaps(caps));
    EXPECT_GE(caps.pixelShaderVersion, ShaderVersion(3, 3));
    EXPECT_NE(caps.vertexProcessingCaps, 0u);
    DisplayMode mode{};
    ASSERT_TRUE(device.GetDisplayMode(mode));
    EXPECT_GT(mode.width, 0);
}

TEST_F(OpenGLDeviceTest, ClearFillsTheFrameAndPresentShowsIt)
{
    BeginFrame();
    EXPECT_TRUE(PixelIs(device.ReadBackBuffer(), 320, 240, 0xAA, 0xAA, 0xAA, 0));
    // Not shown before it is presented.
    EXPECT_TRUE(PixelIs(device.grabFramebuffer(), 320, 240, 255, 255, 255, 0));
    EndFrame();
    const QImage shown = device.grabFramebuffer();
    EXPECT_TRUE(PixelIs(shown, 0, 0, 0xAA, 0xAA, 0xAA, 0));
    EXPECT_TRUE(PixelIs(shown, kWidth - 1, kHeight - 1, 0xAA, 0xAA, 0xAA, 0));
}

TEST_F(OpenGLDeviceTest, LeftHandedAxesPutPlusXRightPlusYUp)
{
    MeshData mesh;
    AddRectangle(mesh, 0.2f, 0.2f, 0.8f, 0.8f, 2.4f);
    BeginFrame();
    DrawMesh(mesh, Diffuse(1, 0, 0));
    EndFrame();
    const QImage image = device.ReadBackBuffer();
    EXPECT_TRUE(PixelIs(image, 3 * kWidth / 4, kHeight / 4, 255, 0, 0));
    EXPECT_TRUE(PixelIs(image, kWidth / 4, kHeight / 4, 0xAA, 0xAA, 0xAA));
    EXPECT_TRUE(PixelIs(image, 3 * kWidth / 4, 3 * kHeight / 4, 0xAA, 0xAA, 0xAA));
}

TEST_F(OpenGLDeviceTest, UntexturedSubsetsShowTheMaterialAndTexturesAreModulated)
{
    const std::string path = WriteTwoColourPicture("dos.png");
    DeviceTexture* texture = device.CreateTextureFromFile(path);
    ASSERT_NE(texture, nullptr);
    MeshData left;
    AddRectangle(left, -1.2f, -0.9f, -0.1f, 0.9f, 2.4f);
    MeshData right;
    AddRectangle(right, 0.1f, -0.9f, 1.2f, 0.9f, 2.4f);
    BeginFrame();
    DrawMesh(left, Diffuse(0, 1, 0));
    DrawMesh(right, Diffuse(1, 1, 0.5f), texture);
    EndFrame();
    const QImage image = device.ReadBackBuffer();
    EXPECT_TRUE(PixelIs(image, kWidth / 4, kHeight / 2, 0, 255, 0));
    // v = 0 at the top of the rectangle shows the picture's top row: red; the bottom, blue
    // modulated by the material's 0.5.
    EXPECT_TRUE(PixelIs(image, 3 * kWidth / 4, kHeight / 4, 255, 0, 0));
    EXPECT_TRUE(PixelIs(image, 3 * kWidth / 4, 3 * kHeight / 4, 0, 0, 128));
}

TEST_F(OpenGLDeviceTest, QuadAtDepthTwoPointFourFillsTheWholeView)
{
    // The intro quad, drawn with the identity world and view matrices.
    const std::string path = WriteTwoColourPicture("intro");
    DeviceTexture* texture = device.CreateTextureFromFile(folder.filePath("intro").toStdString());
    ASSERT_NE(texture, nullptr) << path;
    const MeshVertex quad[6] = {
        {{-1.35f, -1.0f, 2.4f}, {0, 0, -1}, {0, 1}}, {{-1.35f, 1.0f, 2.4f}, {0, 0, -1}, {0, 0}},
        {{1.35f, 1.0f, 2.4f}, {0, 0, -1}, {1, 0}}, {{-1.35f, -1.0f, 2.4f}, {0, 0, -1}, {0, 1}},
        {{1.35f, 1.0f, 2.4f}, {0, 0, -1}, {1, 0}}, {{1.35f, -1.0f, 2.4f}, {0, 0, -1}, {1, 1}}};
    DeviceVertexBuffer* buffer = device.CreateVertexBuffer(quad, 6);
    device.SetTexture(0, texture);
    BeginFrame(0xFFFFFFFF);
    device.SetStreamSource(buffer);
    device.DrawTriangleList(0, 2);
    EndFrame();
    const QImage shown = device.grabFramebuffer();
    for (int x : {0, kWidth / 2, kWidth - 1}) {
        EXPECT_TRUE(PixelIs(shown, x, 0, 255, 0, 0));
        EXPECT_TRUE(PixelIs(shown, x, kHeight / 2 - 3, 255, 0, 0));
        EXPECT_TRUE(PixelIs(shown, x, kHeight / 2 + 3, 0, 0, 255));
        EXPECT_TRUE(PixelIs(shown, x, kHeight - 1, 0, 0, 255));
    }
}

TEST_F(OpenGLDeviceTest, LinearFogFadesByViewDepthFromTenToOneHundredAndForty)
{
    // Three red rectangles side by side at depths 5 (clear), 75 (halfway) and 200 (all fog).
    MeshData near;
    AddRectangle(near, -1.5f, -0.5f, -0.7f, 0.5f, 5.0f);
    MeshData middle;
    AddRectangle(middle, -10.0f, -10.0f, 10.0f, 10.0f, 75.0f);
    MeshData far;
    AddRectangle(far, 20.0f, -20.0f, 60.0f, 20.0f, 200.0f);
    EnableFog();
    BeginFrame();
    DrawMesh(near, Diffuse(1, 0, 0));
    DrawMesh(middle, Diffuse(1, 0, 0));
    DrawMesh(far, Diffuse(1, 0, 0));
    EndFrame();
    const QImage image = device.ReadBackBuffer();
    EXPECT_TRUE(PixelIs(image, kWidth / 2 - 130, kHeight / 2, 255, 0, 0));
    EXPECT_TRUE(PixelIs(image, kWidth / 2, kHeight / 2, (255 + 170) / 2, 85, 85, 3));
    EXPECT_TRUE(PixelIs(image, kWidth / 2 + 130, kHeight / 2, 170, 170, 170));

    // With fog off the same scene is pure red.
    device.SetRenderState(RenderState::FogEnable, 0);
    BeginFrame();
    DrawMesh(far, Diffuse(1, 0, 0));
    EndFrame();
    EXPECT_TRUE(PixelIs(device.ReadBackBuffer(), kWidth / 2 + 130, kHeight / 2, 255, 0, 0));
}

TEST_F(OpenGLDeviceTest, NearerSurfacesHideFartherOnesInEitherOrder)
{
    MeshData near;
    AddRectangle(near, -1.0f, -1.0f, 1.0f, 1.0f, 5.0f);
    MeshData far;
    AddRectangle(far, -10.0f, -10.0f, 10.0f, 10.0f, 20.0f);
    BeginFrame();
    DrawMesh(near, Diffuse(1, 0, 0));
    DrawMesh(far, Diffuse(0, 0, 1));
    EndFrame();
    EXPECT_TRUE(PixelIs(device.ReadBackBuffer(), kWidth / 2, kHeight / 2, 255, 0, 0));
    BeginFrame();
    DrawMesh(far, Diffuse(0, 0, 1));
    DrawMesh(near, Diffuse(1, 0, 0));
    EndFrame();
    EXPECT_TRUE(PixelIs(device.ReadBackBuffer(), kWidth / 2, kHeight / 2, 255, 0, 0));
}

TEST_F(OpenGLDeviceTest, CullingFollowsDirect3DWinding)
{
    // Clockwise on screen (Direct3D's front faces): drawn unless clockwise faces are culled.
    MeshData mesh;
    AddRectangle(mesh, -1.0f, -1.0f, 1.0f, 1.0f, 5.0f);
    const std::pair<std::uint32_t, bool> cases[] = {
        {CullNone, true}, {CullCounterClockwise, true}, {CullClockwise, false}};
    for (const auto& [mode, drawn] : cases) {
        device.SetRenderState(RenderState::CullMode, mode);
        BeginFrame();
        DrawMesh(mesh, Diffuse(1, 0, 0));
        EndFrame();
        const QImage image = device.ReadBackBuffer();
        EXPECT_EQ(PixelIs(image, kWidth / 2, kHeight / 2, 255, 0, 0), drawn) << mode;
    }
}

TEST_F(OpenGLDeviceTest, TextIsRedInsideItsRectangleAndNothingElseChanges)
{
    FontDescription description = {15, 8, 0, 0, 100, false, false, false, 1, 0, 0, 0, 0, "Times New Roman"};
    DeviceFont* font = device.CreateFont(description);
    ASSERT_NE(font, nullptr);
    MeshData mesh;
    AddRectangle(mesh, 0.2f, 0.2f, 0.8f, 0.8f, 2.4f);
    BeginFrame();
    device.DrawText(font, "Casilla Actual:19\nsegunda linea", {0, 40, 640, 480}, PackColor(kOverlayColor));
    // Drawing goes on correctly after the text.
    DrawMesh(mesh, Diffuse(0, 0, 1));
    EndFrame();
    const QImage image = device.ReadBackBuffer();
    int redRows[2] = {kHeight, -1};
    int redPixels = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth / 2; ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (pixel == qRgb(0xAA, 0xAA, 0xAA))
                continue;
            // Anti-aliased edges blend red into the grey: never any other hue.
            EXPECT_GE(qRed(pixel), qGreen(pixel));
            EXPECT_EQ(qGreen(pixel), qBlue(pixel));
            ++redPixels;
            redRows[0] = std::min(redRows[0], y);
            redRows[1] = std::max(redRows[1], y);
        }
    }
    EXPECT_GT(redPixels, 100);
    EXPECT_GE(redRows[0], 40);
    // Two lines of a font whose cell is 15 pixels high.
    EXPECT_LE(redRows[1], 40 + 2 * 15);
    EXPECT_GT(redRows[1], 40 + 15);
    EXPECT_TRUE(PixelIs(image, 3 * kWidth / 4, kHeight / 4, 0, 0, 255));
    GLint alignment = 0;
    QOpenGLContext::currentContext()->functions()->glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 4);
}

TEST_F(OpenGLDeviceTest, TextIsClippedToItsRectangle)
{
    FontDescription description = {15, 8, 0, 0, 100, false, false, false, 1, 0, 0, 0, 0, "Times New Roman"};
    DeviceFont* font = device.CreateFont(description);
    BeginFrame();
    device.DrawText(font, "WWWWWWWWWWWWWWWWWWWW\nWWWW", {0, 0, 40, 10}, PackColor(kOverlayColor));
    EndFrame();
    const QImage image = device.ReadBackBuffer();
    int outside = 0;
    int inside = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 200; ++x) {
            const bool grey = image.pixel(x, y) == qRgb(0xAA, 0xAA, 0xAA);
            if (x >= 40 || y >= 10)
                outside += !grey;
            else
                inside += !grey;
        }
    }
    EXPECT_GT(inside, 10);
    EXPECT_EQ(outside, 0);
}

TEST_F(OpenGLDeviceTest, MissingPictureGivesNoTexture)
{
    EXPECT_EQ(device.CreateTextureFromFile(folder.filePath("no-existe.png").toStdString()), nullptr);
}

TEST_F(OpenGLDeviceTest, AFileThatIsNotAPictureGivesNoTexture)
{
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::red);
    const QString whole = folder.filePath("entera.png");
    ASSERT_TRUE(picture.save(whole));
    QFile png(whole);
    ASSERT_TRUE(png.open(QIODevice::ReadOnly));
    const QByteArray bytes = png.readAll();

    const std::pair<const char*, QByteArray> files[] = {
        {"texto.png", "no es una imagen\n"}, {"vacia.png", ""}, {"cortada.png", bytes.left(bytes.size() / 2)}};
    for (const auto& [name, contents] : files) {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
        file.close();
        EXPECT_EQ(device.CreateTextureFromFile(folder.filePath(name).toStdString()), nullptr) << name;
    }
    EXPECT_NE(device.CreateTextureFromFile(whole.toStdString()), nullptr);
}

TEST_F(OpenGLDeviceTest, StatusTextsShowUntilTheFirstFrameAndPaintOverEachOther)
{
    device.WriteStatusText(10, 40, "Cargando 2 ...");
    device.WriteStatusText(10, 70, "Version posterior de VertexShader 1.1");
    device.WriteStatusText(10, 70, "OK");
    const QImage before = device.grabFramebuffer();
    auto darkPixelsIn = [](const QImage& image, const QRect& area) {
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                count += qGray(image.pixel(x, y)) < 100;
        return count;
    };
    EXPECT_GT(darkPixelsIn(before, QRect(10, 40, 60, 15)), 20);
    EXPECT_EQ(darkPixelsIn(before, QRect(0, 0, kWidth, 38)), 0);
    // "OK" paints over the start of the longer line, whose end stays visible.
    EXPECT_GT(darkPixelsIn(before, QRect(10, 70, 15, 15)), 5);
    EXPECT_GT(darkPixelsIn(before, QRect(120, 70, 100, 15)), 20);

    BeginFrame();
    EndFrame();
    EXPECT_EQ(darkPixelsIn(device.grabFramebuffer(), QRect(0, 0, kWidth, kHeight)), 0);
}

TEST_F(OpenGLDeviceTest, PresentStretchesTheFrameOverAResizedWindow)
{
    MeshData mesh;
    AddRectangle(mesh, 0.0f, -5.0f, 5.0f, 5.0f, 2.4f);
    device.resize(320, 240);
    BeginFrame();
    DrawMesh(mesh, Diffuse(1, 0, 0));
    EndFrame();
    const QImage shown = device.grabFramebuffer();
    ASSERT_EQ(shown.size(), QSize(320, 240));
    EXPECT_TRUE(PixelIs(shown, 80, 120, 0xAA, 0xAA, 0xAA));
    EXPECT_TRUE(PixelIs(shown, 240, 120, 255, 0, 0));
    EXPECT_EQ(device.ReadBackBuffer().size(), QSize(kWidth, kHeight));
}

TEST_F(OpenGLDeviceTest, RequestQuitEndsTheEventLoopWithTheCode)
{
    device.RequestQuit(3);
    EXPECT_EQ(QCoreApplication::exec(), 3);
}

TEST(OpenGLDeviceSetUp, ContextExistsOnceTheWindowIsShownAndNotBefore)
{
    QMainWindow window;
    auto* device = new OpenGLDevice;
    window.setCentralWidget(device);
    window.resize(kWidth, kHeight);
    EXPECT_FALSE(device->Initialize());
    window.show();
    // No event processed: showing the window gives the widget its context.
    ASSERT_TRUE(device->Initialize());
    EXPECT_TRUE(device->CreateDevice(DepthFormat::D16Lockable, VertexProcessing::Hardware));
    EXPECT_EQ(device->ReadBackBuffer().size(), device->size());
}
