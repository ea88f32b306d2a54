// Frames per second of the scene at 640 x 480 on the OpenGL device, standing in the cell whose
// draw list holds the most triangles and in the one with the fewest, looking in the four
// directions in turn. "Drawn" counts the renderer's frame until OpenGL has finished it; "Shown"
// also lets the window show each frame, as the program's event loop does.
// Runs in a temporary folder that links to the content in data/.
#include "platform/MessageBox.h"
#include "tests/support/TemporaryFolder.h"
#include "world/CCamera.h"
#include "world/CLevelMap.h"
#include "world/CModel.h"
#include "world/CRenderer.h"
#include "world/LevelGeometry.h"
#include "world/opengl/OpenGLDevice.h"

#include <QApplication>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QTest>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <queue>
#include <string>

namespace {

struct Hop {
    int cell;  // the cell the hop leaves
    int side;
    float along;  // middle of the opening, on the side's bounding axis
};

int Triangles(const CRenderer& renderer, const CLevelMap& map, int cell)
{
    int triangles = 0;
    for (int index : map.DrawList(cell)) {
        for (const MeshSubset& subset : renderer.Model(index).MeshContents().subsets)
            triangles += static_cast<int>(subset.indexCount / 3);
    }
    return triangles;
}

MapPoint Centre(const CCell& cell)
{
    MapPoint centre{0.0f, 0.0f};
    for (const MapPoint* corner : cell.corners) {
        centre.x += corner->x / 4.0f;
        centre.z += corner->z / 4.0f;
    }
    return centre;
}

// The openings crossed on a shortest way from the start cell to `target`.
std::vector<Hop> WayTo(const CLevelMap& map, int target)
{
    std::vector<Hop> cameFrom(CLevelMap::kCellCount, Hop{-1, 0, 0.0f});
    std::queue<int> open;
    open.push(CLevelMap::kStartCell);
    cameFrom[CLevelMap::kStartCell].cell = CLevelMap::kStartCell;
    while (!open.empty()) {
        const int cell = open.front();
        open.pop();
        for (int side = 0; side < 4; ++side) {
            for (const SideSegment& segment : map.Cell(cell).sides[side].segments) {
                if (segment.target < 0 || cameFrom[segment.target].cell != -1)
                    continue;
                cameFrom[segment.target] = {cell, side, (segment.from + segment.to) / 2.0f};
                open.push(segment.target);
            }
        }
    }
    std::vector<Hop> way;
    for (int cell = target; cell != CLevelMap::kStartCell && cameFrom[cell].cell != -1; cell = cameFrom[cell].cell)
        way.insert(way.begin(), cameFrom[cell]);
    return way;
}

// Turns the camera towards (x, z) and walks there, stopping `shortOf` units before it, in steps
// of at most one unit; false when the map refuses a step.
bool WalkTowards(CCamera& camera, CLevelMap& map, float x, float z, float shortOf = 0.0f)
{
    const glm::vec3 view = camera.LookAt() - camera.Eye();
    const float dx = x - camera.Eye().x;
    const float dz = z - camera.Eye().z;
    camera.TurnRight(std::atan2(dx, dz) - std::atan2(view.x, view.z));
    float left = std::sqrt(dx * dx + dz * dz) - shortOf;
    while (left > 0.0f) {
        const float step = std::min(left, 1.0f);
        const glm::vec3 before = camera.Eye();
        camera.WalkForward(map, step);
        if (camera.Eye() == before)
            return false;
        left -= step;
    }
    return true;
}

// Walks from the start pose through the openings to the centre of `target`: up to an
// opening's middle, across it, on to the next cell's centre. False if the map stops the walk.
bool WalkTo(CCamera& camera, CLevelMap& map, int target)
{
    map.ResetCell();
    camera.Reset();
    for (const Hop& hop : WayTo(map, target)) {
        const MapPoint opening = SidePoint(map.Cell(hop.cell), hop.side, hop.along);
        const MapPoint centre = Centre(map.Cell(hop.cell));
        if (!WalkTowards(camera, map, centre.x, centre.z) || !WalkTowards(camera, map, opening.x, opening.z, 1.5f))
            return false;
        // Across the side: 1.5 units before it to 1.5 units beyond.
        if (!WalkTowards(camera, map, opening.x, opening.z, -1.5f) || map.GetCurrentCell() == hop.cell)
            return false;
    }
    const MapPoint centre = Centre(map.Cell(target));
    return WalkTowards(camera, map, centre.x, centre.z) && map.GetCurrentCell() == target;
}

struct Scene {
    OpenGLDevice device;
    CLevelMap map;
    CCamera camera;
    CRenderer renderer;
};

Scene* g_scene = nullptr;

void DrawFrames(benchmark::State& state, int cell, bool shown)
{
    Scene& scene = *g_scene;
    if (!WalkTo(scene.camera, scene.map, cell)) {
        state.SkipWithError("cannot walk to the cell");
        return;
    }
    QOpenGLFunctions* gl = QOpenGLContext::currentContext()->functions();
    for (auto _ : state) {
        scene.camera.TurnRight(1.5707964f);
        scene.renderer.BeginFrame();
        scene.renderer.DrawScene(scene.map);
        scene.renderer.EndFrame();
        if (shown)
            QCoreApplication::processEvents();
        scene.device.makeCurrent();
        gl->glFinish();
    }
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["cell"] = cell;
    state.counters["triangles"] = Triangles(scene.renderer, scene.map, cell);
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);

    const std::filesystem::path data = std::filesystem::path(BRUMARIA_SOURCE_DIR) / "data";
    if (!std::filesystem::exists(data / "modelos")) {
        std::fprintf(stderr, "renderer_bench: no content in %s\n", data.c_str());
        return 1;
    }
    const TemporaryFolder folder;
    TemporaryFolder::LinkContent({"modelos", "texturas", "intro"});

    Scene scene;
    g_scene = &scene;
    scene.device.resize(640, 480);
    scene.device.show();
    if (!QTest::qWaitForWindowExposed(&scene.device) || !scene.renderer.Init(scene.device, 640, 480))
        return 1;
    // One scene frame first, so that every measured frame has fog.
    scene.renderer.BeginFrame();
    scene.renderer.DrawScene(scene.map);
    scene.renderer.EndFrame();

    int heaviest = 0;
    int lightest = 0;
    for (int cell = 0; cell < CLevelMap::kCellCount; ++cell) {
        const int triangles = Triangles(scene.renderer, scene.map, cell);
        if (triangles > Triangles(scene.renderer, scene.map, heaviest))
            heaviest = cell;
        if (triangles < Triangles(scene.renderer, scene.map, lightest))
            lightest = cell;
    }
    for (bool shown : {false, true}) {
        const std::string how = shown ? "Shown" : "Drawn";
        benchmark::RegisterBenchmark(("HeaviestCell/" + how).c_str(),
                                     [heaviest, shown](benchmark::State& state) { DrawFrames(state, heaviest, shown); })
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->MeasureProcessCPUTime();
        benchmark::RegisterBenchmark(("LightestCell/" + how).c_str(),
                                     [lightest, shown](benchmark::State& state) { DrawFrames(state, lightest, shown); })
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->MeasureProcessCPUTime();
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_scene = nullptr;
    return 0;
}
