#include "tools/contentgen/ContentGenerator.h"
#include "tools/contentgen/LevelLayout.h"
#include "tools/contentgen/ModelSetEntry.h"
#include "tools/contentgen/PlanModels.h"
#include "tools/contentgen/WallStyle.h"
#include "world/CLevelMap.h"

#include <glm/geometric.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

// Distance along the ray to the nearest triangle of the mesh it hits (Möller–Trumbore), or 1e30.
float NearestHit(const ContentMesh& mesh, const glm::vec3& origin, const glm::vec3& direction)
{
    float nearest = 1e30f;
    for (const ContentFace& face : mesh.faces) {
        const glm::vec3 a = mesh.vertices[face.index[0]].position;
        const glm::vec3 e1 = mesh.vertices[face.index[1]].position - a, e2 = mesh.vertices[face.index[2]].position - a;
        const glm::vec3 p = glm::cross(direction, e2), s = origin - a, q = glm::cross(s, e1);
        const float det = glm::dot(e1, p);
        if (std::fabs(det) < 1e-9f)
            continue;
        const float u = glm::dot(s, p) / det, v = glm::dot(direction, q) / det, distance = glm::dot(e2, q) / det;
        if (u >= 0.0f && v >= 0.0f && u + v <= 1.0f && distance >= 0.0f)
            nearest = std::min(nearest, distance);
    }
    return nearest;
}

}  // namespace

// Walk up to any wall of the plan and look at it: a wall face stands before the eyes, no farther
// than the wall's own thickness; and no wall reaches into a walkable cell, but for half a shared
// wall and its gateway posts. The visible walls are the walls that stop the player.
TEST(ModelSetGeometry, EveryWallOfTheMapIsBuiltWhereItStopsThePlayer)
{
    const CLevelMap map;
    const LevelLayout layout(map);
    ASSERT_EQ(layout.Walls().size(), map.Walls().size());
    std::vector<ContentMesh> walls;
    for (int model = kFirstWallModel; model < kFirstFloorModel + kFloorModelCount; ++model)
        walls.push_back(BuildPlanWalls(layout, model).Result());
    const BuildingZone& gate = GateZone();
    int samples = 0;
    for (const WallRun& run : layout.Walls())
        for (int k = 1; k < 10; ++k) {
            const glm::vec2 p = run.from + (run.to - run.from) * (k / 10.0f);
            if (p.x >= gate.minimum.x - 0.5f && p.x <= gate.maximum.x + 0.5f && p.y >= gate.minimum.y - 1.0f &&
                p.y <= gate.maximum.y)
                continue;  // the gate's gap in the north wall
            const glm::vec2 eye = p - run.outward * 0.2f;
            float nearest = 1e30f;
            for (const ContentMesh& mesh : walls)
                nearest =
                    std::min(nearest, NearestHit(mesh, {eye.x, 1.0f, eye.y}, {run.outward.x, 0.0f, run.outward.y}));
            EXPECT_LE(nearest, 0.2f + run.outer + 0.01f)
                << "cell " << run.cell << " side " << run.side << " at " << p.x << ", " << p.y;
            ++samples;
        }
    EXPECT_GT(samples, 1000);
    for (const ContentMesh& mesh : walls)
        for (const ContentVertex& vertex : mesh.vertices)
            for (int cell = 0; cell < layout.CellCount(); ++cell)
                EXPECT_LT(layout.DepthInside(cell, {vertex.position.x, vertex.position.z}), 0.66f) << "cell " << cell;
}

// Ground under every cell, in the floor model the cell's draw list shows.
TEST(ModelSetGeometry, EveryCellHasGroundInTheModelItsFloorIsIn)
{
    const CLevelMap map;
    const LevelLayout layout(map);
    for (int cell = 0; cell < layout.CellCount(); ++cell) {
        const LayoutCell& c = layout.Cell(cell);
        EXPECT_NE(std::find(c.drawList.begin(), c.drawList.end(), c.floorModel), c.drawList.end()) << "cell " << cell;
        const ContentMesh ground = BuildPlanGround(layout, c.floorModel).Result();
        const glm::vec2 centre = (c.corners[0] + c.corners[1] + c.corners[2] + c.corners[3]) * 0.25f;
        std::vector<glm::vec2> probes = {centre};
        for (const glm::vec2& corner : c.corners)
            probes.push_back(corner + glm::normalize(centre - corner));
        for (const glm::vec2& p : probes) {
            const float hit = NearestHit(ground, {p.x, 10.0f, p.y}, {0.0f, -1.0f, 0.0f});
            EXPECT_GE(hit, 9.9f) << "cell " << cell << ": ground " << 10.0f - hit << " high";
            EXPECT_LE(hit, 10.03f) << "cell " << cell << ": ground " << 10.0f - hit << " high";
        }
    }
}
