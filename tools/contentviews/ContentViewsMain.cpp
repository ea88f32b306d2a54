// contentviews <content folder> <output folder>: walks the game's camera to a few places of the
// churchyard and saves what the game's renderer shows there, 640 x 480, as PNG pictures.
// Needs a display (Xvfb will do): xvfb-run -a contentviews data docs/views
#include "platform/MessageBox.h"
#include "tools/contentgen/LevelLayout.h"
#include "tools/contentviews/CameraRoute.h"
#include "world/CCamera.h"
#include "world/CLevelMap.h"
#include "world/CRenderer.h"
#include "world/opengl/OpenGLDevice.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

struct View {
    const char* name;
    glm::vec2 stand;  // where the camera walks to
    glm::vec3 look;  // what it looks at
};

// The start pose first (no walking), then places a newcomer should see.
const std::vector<View>& Views()
{
    static const std::vector<View> kViews = {
        {"inicio", {0.0f, 0.0f}, {0.0f, 2.5f, 100.0f}},
        {"iglesia", {0.0f, -6.0f}, {0.0f, 4.0f, -46.0f}},
        {"fachada", {-24.0f, 44.0f}, {-4.0f, 14.0f, 0.0f}},
        {"camino-norte", {-14.0f, 150.0f}, {-4.0f, 4.0f, 300.0f}},
        {"cripta", {165.0f, 290.0f}, {165.0f, 6.0f, 248.0f}},
        {"torre", {190.0f, 345.0f}, {243.0f, 18.0f, 390.0f}},
        {"torre-redonda", {-255.0f, 425.0f}, {-291.0f, 16.0f, 478.0f}},
        {"arco", {-262.0f, 252.0f}, {-300.0f, 9.0f, 252.0f}},
        {"puerta", {-95.0f, 440.0f}, {-95.0f, 4.0f, 471.0f}},
    };
    return kViews;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: contentviews <content folder> <output folder>\n");
        return 2;
    }
    QApplication application(argc, argv);
    const QString output = QDir(QString::fromLocal8Bit(argv[2])).absolutePath();
    QDir().mkpath(output);
    if (!QDir::setCurrent(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "contentviews: no folder %s\n", argv[1]);
        return 1;
    }
    OpenGLDevice device;
    device.resize(kWidth, kHeight);
    device.show();
    QElapsedTimer waited;
    waited.start();
    while (!device.isValid() && waited.elapsed() < 10000)
        application.processEvents(QEventLoop::AllEvents, 50);

    CRenderer renderer;
    if (!renderer.Init(device, kWidth, kHeight)) {
        std::fprintf(stderr, "contentviews: the renderer did not start\n");
        return 1;
    }
    int failures = 0;
    for (const View& view : Views()) {
        CLevelMap map;
        CCamera camera;
        const LevelLayout layout(map);
        std::string error;
        if (view.stand != glm::vec2(0.0f) && !CameraRoute(layout).WalkTo(camera, map, view.stand, error)) {
            std::fprintf(stderr, "contentviews: %s: %s\n", view.name, error.c_str());
            ++failures;
            continue;
        }
        CameraRoute::Face(camera, view.look);
        // The first scene frame has no fog; the second is what the player sees from then on.
        for (int frame = 0; frame < 2; ++frame) {
            renderer.BeginFrame();
            renderer.DrawScene(map);
            renderer.EndFrame();
        }
        const QString file = output + "/" + view.name + ".png";
        if (!device.ReadBackBuffer().convertToFormat(QImage::Format_RGB888).save(file, "PNG")) {
            std::fprintf(stderr, "contentviews: cannot write %s\n", qPrintable(file));
            ++failures;
            continue;
        }
        std::printf("%s: cell %d, eye (%.1f, %.1f)\n", qPrintable(file), map.GetCurrentCell(), camera.Eye().x,
                    camera.Eye().z);
    }
    return failures == 0 ? 0 : 1;
}
