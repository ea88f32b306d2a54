#include "world/opengl/OpenGLDevice.h"

#include "platform/MessageBox.h"
#include "tests/support/TemporaryFolder.h"
#include "world/CRenderer.h"
#include "world/ColorValue.h"
#include "world/opengl/OpenGLResources.h"

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QOpenGLFunctions_3_3_Core>
#include <QPainter>
#include <QPolygon>
#include <QTest>

#include <glm/ext/matrix_clip_space.hpp>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr QRgb kGrey = 0xFFAAAAAA;

// The sum of the channels' differences.
int Distance(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
}

// The pixels of `area` for which `match` holds.
QPolygon Matching(const QImage& image, const QRect& area, const std::function<bool(QRgb)>& match)
{
    QPolygon points;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (match(image.pixel(x, y)))
                points << QPoint(x, y);
    return points;
}

// Real OpenGL in a 640 x 480 window, in a temporary working folder: the device alone, with 16-bit
// depth, no culling and the renderer's projection.
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
        device.SetTransform(TransformType::Projection,
                            glm::perspectiveLH_ZO(0.7853982f, 640.0f / 480.0f, 1.0f, 5000.0f));
    }

    // One presented frame on the grey background; what was drawn into the back buffer.
    QImage Frame(const std::function<void()>& draw)
    {
        device.Clear(ClearTarget | ClearZBuffer, PackColor(kClearColor), 1.0f, 0);
        device.BeginScene();
        draw();
        device.EndScene();
        device.Present();
        return device.ReadBackBuffer();
    }

    // A rectangle facing the viewer at depth z in the colour (r, g, b), v = 0 at its top.
    void Draw(float x0, float y0, float x1, float y1, float z, float r, float g, float b,
              DeviceTexture* texture = nullptr)
    {
        MeshData data;
        data.vertices = {{{x0, y0, z}, {0, 0, -1}, {0, 1}},
                         {{x0, y1, z}, {0, 0, -1}, {0, 0}},
                         {{x1, y1, z}, {0, 0, -1}, {1, 0}},
                         {{x1, y0, z}, {0, 0, -1}, {1, 1}}};
        data.indices = {0, 1, 2, 0, 2, 3};
        data.subsets = {{0, 6}};
        DeviceMesh* mesh = device.CreateMesh(data);
        device.SetMaterial({{r, g, b, 1.0f}, {r, g, b, 1.0f}, {}, {}, 0.0f});
        device.SetTexture(0, texture);
        device.DrawSubset(mesh, 0);
    }

    TemporaryFolder folder;
    OpenGLDevice device;
};

}  // namespace

// 16-bit depth first, as asked for; Direct3D's 15-bit format does not exist here.
TEST_F(OpenGLDeviceTest, DepthFormatsAndFramesShownOnlyOncePresentedAtTheWindowsSize)
{
    EXPECT_EQ(device.DepthBits(), 16);
    EXPECT_FALSE(device.CreateDevice(DepthFormat::D15S1, VertexProcessing::Hardware));
    EXPECT_TRUE(device.CreateDevice(DepthFormat::D24S8, VertexProcessing::Software));
    EXPECT_TRUE(device.HasDevice());
    EXPECT_GE(device.DepthBits(), 24);
    device.Clear(ClearTarget | ClearZBuffer, PackColor(kClearColor), 1.0f, 0);
    EXPECT_EQ(device.ReadBackBuffer().pixel(320, 240), kGrey);
    EXPECT_EQ(device.grabFramebuffer().pixel(320, 240), qRgb(255, 255, 255)) << "not shown before it is presented";
    // Until then the window shows the start-up texts, black on white where they were written.
    device.WriteStatusText(10, 160, "Inicializando sonidos ...");
    const QImage status = device.grabFramebuffer();
    const auto dark = [](QRgb pixel) { return qGray(pixel) < 96; };
    EXPECT_GT(Matching(status, QRect(10, 160, 160, 20), dark).size(), 100);
    EXPECT_EQ(Matching(status, QRect(0, 0, kWidth, 158), dark).size(), 0);
    EXPECT_EQ(Matching(status, QRect(0, 182, kWidth, kHeight - 182), dark).size(), 0);
    // The 4:3 view takes the middle of a wider window, half its size here, and text keeps to the
    // view's scale. (The bars and the redraw a new size asks for are checked on the program:
    // ProgramTest's 1280 x 720 window, GameAppTest's wider intro.)
    device.resize(400, 240);
    EXPECT_EQ(device.ViewRect(), QRect(40, 0, 320, 240));
    DeviceFont* font = device.CreateFont({15, 8, 0, 0, 100, false, false, false, 1, 0, 0, 0, 0, "Times New Roman"});
    Frame([&] {
        device.DrawText(font, "Frames por segundo D3D: 60.000000", {0, 0, kWidth, kHeight}, PackColor(kOverlayColor));
    });
    const QImage shown = device.grabFramebuffer();
    ASSERT_EQ(shown.size(), QSize(400, 240));
    EXPECT_EQ(device.ReadBackBuffer(), shown.convertToFormat(QImage::Format_RGB32));
    const QRect text =
        Matching(shown, QRect(0, 0, 200, 120), [](QRgb p) { return qRed(p) > 200 && qGreen(p) < 100; }).boundingRect();
    // Half the font's 15 pixels, from the view's top-left corner.
    EXPECT_GE(text.left(), 40);
    EXPECT_LT(text.left(), 44);
    EXPECT_LT(text.top(), 4);
    EXPECT_LT(text.bottom(), 10);
}

TEST_F(OpenGLDeviceTest, LinearFogFadesByViewDepthFromTenToOneHundredAndForty)
{
    const std::uint32_t start = 0x41200000, end = 0x430C0000;  // 10.0f, 140.0f
    for (const auto& [state, value] : {std::pair<RenderState, std::uint32_t>{RenderState::FogEnable, 1},
                                       {RenderState::FogColor, 0xAAAAAA},
                                       {RenderState::FogTableMode, FogLinear},
                                       {RenderState::FogStart, start},
                                       {RenderState::FogEnd, end},
                                       {RenderState::FogVertexMode, FogNone}})
        device.SetRenderState(state, value);
    // Red at depths 5 (clear), 75 (halfway) and 200 (all fog), side by side; then fog off.
    QImage image = Frame([&] {
        Draw(-1.5f, -0.5f, -0.7f, 0.5f, 5.0f, 1, 0, 0);
        Draw(-10.0f, -10.0f, 10.0f, 10.0f, 75.0f, 1, 0, 0);
        Draw(20.0f, -20.0f, 60.0f, 20.0f, 200.0f, 1, 0, 0);
    });
    EXPECT_LE(Distance(image.pixel(kWidth / 2 - 130, kHeight / 2), qRgb(255, 0, 0)), 2);
    EXPECT_LE(Distance(image.pixel(kWidth / 2, kHeight / 2), qRgb((255 + 170) / 2, 85, 85)), 6);
    EXPECT_LE(Distance(image.pixel(kWidth / 2 + 130, kHeight / 2), kGrey), 2);
    device.SetRenderState(RenderState::FogEnable, 0);
    image = Frame([&] { Draw(20.0f, -20.0f, 60.0f, 20.0f, 200.0f, 1, 0, 0); });
    EXPECT_LE(Distance(image.pixel(kWidth / 2 + 130, kHeight / 2), qRgb(255, 0, 0)), 2);
}

// Red text clipped to its rectangle, a line a font cell below the one before; drawing goes on
// correctly after it: the untextured colour is the material's, textures are modulated by it, with
// v = 0 at the picture's top.
TEST_F(OpenGLDeviceTest, RedTextInsideItsRectangleThenMaterialsAndModulatedTextures)
{
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    QPainter(&picture).fillRect(0, 0, 8, 4, Qt::red);
    ASSERT_TRUE(picture.save("dos", "PNG"));  // no file name extension
    DeviceTexture* texture = device.CreateTextureFromFile("dos");
    ASSERT_NE(texture, nullptr);
    DeviceFont* font = device.CreateFont({15, 8, 0, 0, 100, false, false, false, 1, 0, 0, 0, 0, "Times New Roman"});
    ASSERT_NE(font, nullptr);
    const QImage image = Frame([&] {
        device.DrawText(font, "WWWWWWWWWWWWWWWWWWWW\nWWWW", {0, 0, 40, 10}, PackColor(kOverlayColor));
        device.DrawText(font, "Casilla Actual:19\nsegunda linea", {0, 40, 640, 480}, PackColor(kOverlayColor));
        Draw(0.1f, 0.1f, 1.2f, 0.9f, 2.4f, 0, 1, 0);
        Draw(0.1f, -0.9f, 1.2f, -0.1f, 2.4f, 1, 1, 0.5f, texture);
    });
    const auto drawn = [](QRgb pixel) { return pixel != kGrey; };
    const QRect clipped = Matching(image, QRect(0, 0, kWidth / 2, 40), drawn).boundingRect();
    const QRect text = Matching(image, QRect(0, 40, kWidth / 2, kHeight - 40), drawn).boundingRect();
    // Anti-aliased edges blend red into the grey: never any other hue.
    const auto otherHue = [](QRgb p) { return p != kGrey && (qRed(p) < qGreen(p) || qGreen(p) != qBlue(p)); };
    EXPECT_EQ(Matching(image, QRect(0, 0, kWidth / 2, kHeight), otherHue).size(), 0);
    EXPECT_EQ(clipped & QRect(0, 0, 40, 10), clipped) << "outside the small rectangle";
    EXPECT_GT(clipped.width(), 30);
    EXPECT_GT(text.bottom(), 40 + 15);
    EXPECT_LE(text.bottom(), 40 + 2 * 15);
    EXPECT_LE(Distance(image.pixel(3 * kWidth / 4, kHeight / 4), qRgb(0, 255, 0)), 2);
    EXPECT_LE(Distance(image.pixel(3 * kWidth / 4, 300), qRgb(255, 0, 0)), 2) << "the picture's top";
    EXPECT_LE(Distance(image.pixel(3 * kWidth / 4, 420), qRgb(0, 0, 128)), 2);
    GLint alignment = 0;
    QOpenGLContext::currentContext()->functions()->glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 4) << "1 garbles the painter's glyphs";
}

// Pictures over 4096 texels a side become textures of 4096 with their proportions, scaled as they
// are read (JPEG) or after (PNG); a file named again gives the texture it gave before; what is no
// picture gives none.
TEST_F(OpenGLDeviceTest, OnlyAPictureGivesATextureOfAtMost4096ASideAndRequestQuitEndsTheEventLoop)
{
    QImage wide(5000, 20, QImage::Format_RGB32);
    wide.fill(Qt::blue);
    ASSERT_TRUE(wide.save("ancha.png"));
    ASSERT_TRUE(wide.transformed(QTransform().rotate(90)).save("alta.jpg"));
    const auto sizeOf = [this](DeviceTexture* texture) {
        device.makeCurrent();
        auto* gl = QOpenGLContext::currentContext()->versionFunctions<QOpenGLFunctions_3_3_Core>();
        gl->glBindTexture(GL_TEXTURE_2D, static_cast<OpenGLTexture*>(texture)->texture);
        GLint width = 0, height = 0;
        gl->glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        gl->glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
        return QSize(width, height);
    };
    DeviceTexture* texture = device.CreateTextureFromFile("ancha.png");
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(sizeOf(texture), QSize(4096, 16));
    // A file is read once; the models that name it share its texture.
    ASSERT_TRUE(QFile::remove("ancha.png"));
    EXPECT_EQ(device.CreateTextureFromFile("ancha.png"), texture);
    texture = device.CreateTextureFromFile("alta.jpg");
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(sizeOf(texture), QSize(16, 4096));
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save("entera.png"));
    const std::string png = TemporaryFolder::Read("entera.png");
    for (const auto& [name, contents] : {std::pair<std::string, std::string>{"texto.png", "no es una imagen\n"},
                                         {"vacia.png", ""},
                                         {"cortada.png", png.substr(0, png.size() / 2)}}) {
        TemporaryFolder::Write(name, contents);
        ASSERT_EQ(std::filesystem::file_size(name), contents.size());
        EXPECT_EQ(device.CreateTextureFromFile(name), nullptr) << name;
    }
    // Read ahead on another thread or not, the same answers.
    device.ReadAhead("no-existe.png");
    device.ReadAhead("entera.png");
    EXPECT_EQ(device.CreateTextureFromFile("no-existe.png"), nullptr);
    EXPECT_NE(device.CreateTextureFromFile("entera.png"), nullptr);
    device.RequestQuit(3);
    EXPECT_EQ(QCoreApplication::exec(), 3);
}

// The renderer's intro picture (no file name extension) fills the window.
TEST_F(OpenGLDeviceTest, IntroPictureFillsTheWindow)
{
    CRenderer renderer;
    MessageCapture missingModels;
    ASSERT_TRUE(renderer.Init(device, kWidth, kHeight));
    QImage picture(400, 300, QImage::Format_RGB32);
    const Qt::GlobalColor quarters[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow};
    for (int q = 0; q < 4; ++q)
        QPainter(&picture).fillRect(q % 2 * 200, q / 2 * 150, 200, 150, quarters[q]);
    ASSERT_TRUE(picture.save("intro", "PNG"));
    renderer.LoadIntro();
    renderer.BeginFrame();
    renderer.DrawIntro();
    renderer.EndFrame();
    const QImage shown = device.grabFramebuffer();
    for (const auto& [x, y, colour] : {std::tuple<int, int, QRgb>{0, 0, qRgb(255, 0, 0)},
                                       {kWidth - 1, 0, qRgb(0, 255, 0)},
                                       {0, kHeight - 1, qRgb(0, 0, 255)},
                                       {kWidth - 1, kHeight - 1, qRgb(255, 255, 0)},
                                       {kWidth / 2 - 4, kHeight / 2 - 4, qRgb(255, 0, 0)},
                                       {kWidth / 2 + 4, kHeight / 2 + 4, qRgb(255, 255, 0)}})
        EXPECT_EQ(shown.pixel(x, y), colour) << x << ", " << y;
}
