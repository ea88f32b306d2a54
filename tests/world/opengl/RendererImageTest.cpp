#include "world/opengl/OpenGLDevice.h"

#include "platform/MessageBox.h"
#include "world/CCamera.h"
#include "world/CLevelMap.h"
#include "world/CRenderer.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <glm/vec3.hpp>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr QRgb kGrey = 0xFFAAAAAA;

// Writes a box of the given world extent as a .x model for a placement of scale s and
// translation t (model space = (world - t) / s), in one untextured colour.
void WriteBox(const QString& path, glm::vec3 worldMin, glm::vec3 worldMax, float s, glm::vec3 t, glm::vec3 color)
{
    const glm::vec3 lo = (worldMin - t) / s;
    const glm::vec3 hi = (worldMax - t) / s;
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Text));
    QTextStream x(&file);
    x << "xof 0303txt 0032\nMesh Caja {\n 8;\n";
    for (int i = 0; i < 8; ++i) {
        x << " " << ((i & 1) ? hi.x : lo.x) << ";" << ((i & 2) ? hi.y : lo.y) << ";" << ((i & 4) ? hi.z : lo.z)
          << ";" << (i == 7 ? ";" : ",") << "\n";
    }
    x << " 6;\n 4;0,2,3,1;,\n 4;4,5,7,6;,\n 4;0,4,6,2;,\n 4;1,3,7,5;,\n 4;2,6,7,3;,\n 4;0,1,5,4;;\n";
    x << " MeshMaterialList {\n  1;\n  6;\n  0,0,0,0,0,0;;\n  Material {\n   " << color.r << ";" << color.g << ";"
      << color.b << ";1.0;;\n   0.0;\n   0.0;0.0;0.0;;\n   0.0;0.0;0.0;;\n  }\n }\n}\n";
}

int Distance(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
}

// The renderer on a real OpenGL device in a 640 x 480 window, in a temporary working folder.
class RendererImageTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_previous = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(m_folder.path()));
        QDir().mkdir("modelos");
        QDir().mkdir("texturas");
        device.resize(kWidth, kHeight);
        device.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&device));
    }

    void TearDown() override { QDir::setCurrent(m_previous); }

    // From the start pose (eye 2.5 high, looking along +z): a blue sky box all around, a green
    // ground, a brown wall 60 units ahead and a white wall 136 units ahead on the left, in the models the
    // start cell draws (3 4 2 0 1). Colours are compared within 2 for the rounding of 0.3 · 255.
    static void WriteStartViewContent()
    {
        WriteBox("modelos/cielo.x", {-300, -170, -300}, {300, 300, 300}, 1.0f, {0, -170, 0}, {0.3f, 0.5f, 0.9f});
        WriteBox("modelos/iglesia.x", {-300, -0.1f, -300}, {300, 0, 300}, 0.03f, {19, -2.5f, -8}, {0.2f, 0.6f, 0.2f});
        WriteBox("modelos/paredesA.x", {-30, 0, 60}, {30, 20, 62}, 0.5f, {-1, -2.5f, 1}, {0.6f, 0.3f, 0.2f});
        WriteBox("modelos/paredesB.x", {-300, 0, 136}, {-40, 40, 138}, 0.5f, {-1, -2.5f, 1}, {1, 1, 1});
    }

    QImage SceneFrame()
    {
        renderer.BeginFrame();
        renderer.DrawScene(map);
        renderer.EndFrame();
        return device.grabFramebuffer();
    }

    OpenGLDevice device;
    MessageCapture messages;
    CLevelMap map;
    CCamera camera;
    CRenderer renderer;

private:
    QTemporaryDir m_folder;
    QString m_previous;
};

}  // namespace

TEST_F(RendererImageTest, IntroPictureFillsTheWindow)
{
    // Four coloured quarters, saved as "intro" without an extension.
    QImage picture(400, 300, QImage::Format_RGB32);
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x)
            picture.setPixel(x, y, y < 150 ? (x < 200 ? qRgb(255, 0, 0) : qRgb(0, 255, 0))
                                           : (x < 200 ? qRgb(0, 0, 255) : qRgb(255, 255, 0)));
    ASSERT_TRUE(picture.save("intro", "PNG"));
    ASSERT_TRUE(renderer.Init(device, kWidth, kHeight));
    ASSERT_TRUE(renderer.LoadIntro());
    renderer.BeginFrame();
    ASSERT_TRUE(renderer.DrawIntro());
    renderer.EndFrame();
    const QImage shown = device.grabFramebuffer();
    EXPECT_EQ(shown.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(shown.pixel(kWidth - 1, 0), qRgb(0, 255, 0));
    EXPECT_EQ(shown.pixel(0, kHeight - 1), qRgb(0, 0, 255));
    EXPECT_EQ(shown.pixel(kWidth - 1, kHeight - 1), qRgb(255, 255, 0));
    EXPECT_EQ(shown.pixel(kWidth / 2 - 4, kHeight / 2 - 4), qRgb(255, 0, 0));
    EXPECT_EQ(shown.pixel(kWidth / 2 + 4, kHeight / 2 + 4), qRgb(255, 255, 0));
}

TEST_F(RendererImageTest, MissingIntroPictureShowsWhite)
{
    ASSERT_TRUE(renderer.Init(device, kWidth, kHeight));
    renderer.LoadIntro();
    renderer.BeginFrame();
    renderer.DrawIntro();
    renderer.EndFrame();
    const QImage shown = device.grabFramebuffer();
    EXPECT_EQ(shown.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(shown.pixel(kWidth / 2, kHeight / 2), qRgb(255, 255, 255));
}

TEST_F(RendererImageTest, AnIntroThatIsNotAPictureShowsWhiteWithoutAMessage)
{
    QFile intro("intro");
    ASSERT_TRUE(intro.open(QIODevice::WriteOnly));
    intro.write("no es una imagen\n");
    intro.close();
    ASSERT_TRUE(renderer.Init(device, kWidth, kHeight));
    messages.Clear();
    renderer.LoadIntro();
    renderer.BeginFrame();
    renderer.DrawIntro();
    renderer.EndFrame();
    const QImage shown = device.grabFramebuffer();
    EXPECT_EQ(shown.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(shown.pixel(kWidth / 2, kHeight / 2), qRgb(255, 255, 255));
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(RendererImageTest, StartViewShowsSkyAboveGroundAndFogFromTheSecondFrame)
{
    WriteStartViewContent();
    ASSERT_TRUE(renderer.Init(device, kWidth, kHeight));
    const QImage first = SceneFrame();
    // First frame, no fog: sky at the top, ground at the bottom, the walls ahead in their colours.
    EXPECT_LE(Distance(first.pixel(kWidth / 2, 2), qRgb(77, 128, 230)), 2);
    EXPECT_LE(Distance(first.pixel(kWidth / 2, kHeight - 3), qRgb(51, 153, 51)), 2);
    EXPECT_LE(Distance(first.pixel(kWidth / 2, kHeight / 2 - 20), qRgb(153, 77, 51)), 2);
    EXPECT_EQ(first.pixel(10, kHeight / 2 - 20), qRgb(255, 255, 255));

    const QImage second = SceneFrame();
    // Near ground (view depth under 10) keeps its colour; the wall at 60 is part fog, the wall
    // at 136 and the sky beyond 140 are fog grey.
    EXPECT_EQ(second.pixel(kWidth / 2, kHeight - 3), first.pixel(kWidth / 2, kHeight - 3));
    const QRgb wall = second.pixel(kWidth / 2, kHeight / 2 - 20);
    EXPECT_LT(Distance(wall, kGrey), Distance(qRgb(153, 77, 51), kGrey));
    EXPECT_GT(Distance(wall, kGrey), 20);
    EXPECT_LE(Distance(second.pixel(10, kHeight / 2 - 20), kGrey), 12);
    EXPECT_LE(Distance(second.pixel(kWidth / 2, 2), kGrey), 3);
}

TEST_F(RendererImageTest, OverlayLinesAreRedAtTheirRows)
{
    WriteStartViewContent();
    ASSERT_TRUE(renderer.Init(device, kWidth, kHeight));
    renderer.BeginFrame();
    renderer.DrawScene(map);
    renderer.DrawTextLine("Frames por segundo D3D: 61.000000\n", 0, 640, 480);
    renderer.DrawTextLine("Casilla Actual:19\n", 2, 640, 480);
    renderer.EndFrame();
    const QImage shown = device.grabFramebuffer();
    auto redPixelsInRows = [&shown](int top, int bottom) {
        int count = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < kWidth; ++x)
                count += qRed(shown.pixel(x, y)) > 200 && qGreen(shown.pixel(x, y)) < 60;
        return count;
    };
    EXPECT_GT(redPixelsInRows(0, 20), 50);
    EXPECT_EQ(redPixelsInRows(20, 40), 0);
    EXPECT_GT(redPixelsInRows(40, 60), 30);
}

// With the program's own content in data/ (models, textures and intro picture).
TEST_F(RendererImageTest, ChurchyardStartViewAndIntro)
{
    const std::filesystem::path data = std::filesystem::path(BRUMARIA_SOURCE_DIR) / "data";
    if (!std::filesystem::exists(data / "modelos" / "cielo.x"))
        GTEST_SKIP() << "no content in data/";
    for (const char* entry : {"modelos", "texturas", "intro"}) {
        std::filesystem::remove(entry);
        std::filesystem::create_symlink(data / entry, entry);
    }
    ASSERT_TRUE(renderer.Init(device, kWidth, kHeight));
    EXPECT_TRUE(messages.Messages().empty());
    renderer.LoadIntro();
    renderer.BeginFrame();
    renderer.DrawIntro();
    renderer.EndFrame();
    const QImage intro = device.grabFramebuffer();
    for (QPoint corner : {QPoint(0, 0), QPoint(kWidth - 1, 0), QPoint(0, kHeight - 1), QPoint(kWidth - 1, kHeight - 1)})
        EXPECT_NE(intro.pixel(corner), qRgb(255, 255, 255)) << corner.x() << "," << corner.y();

    const QImage first = SceneFrame();
    const QImage second = SceneFrame();
    QSet<QRgb> colours;
    for (int y = 0; y < kHeight; y += 4)
        for (int x = 0; x < kWidth; x += 4)
            colours.insert(first.pixel(x, y));
    EXPECT_GT(colours.size(), 100);
    // Something covers the top: the sky, not the background.
    EXPECT_NE(first.pixel(kWidth / 2, 2), kGrey);
    // Fog pulls the picture towards the grey, the near ground at the bottom stays as it was.
    long before = 0;
    long after = 0;
    for (int y = 0; y < kHeight; y += 4) {
        for (int x = 0; x < kWidth; x += 4) {
            before += Distance(first.pixel(x, y), kGrey);
            after += Distance(second.pixel(x, y), kGrey);
        }
    }
    EXPECT_LT(after, before);
    EXPECT_EQ(first.pixel(kWidth / 2, kHeight - 2), second.pixel(kWidth / 2, kHeight - 2));
}
