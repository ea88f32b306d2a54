#include "tools/contentgen/LevelLayout.h"
#include "tools/contentgen/ModelBuilders.h"
#include "tools/contentgen/ModelSetEntry.h"
#include "tools/contentgen/PlanModels.h"
#include "tools/contentgen/WallStyle.h"
#include "world/CLevelMap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <glm/geometric.hpp>

namespace {

// A square cell from (x0, z0) to (x1, z1) with one segment per side: left, top, right, bottom.
LayoutCell Square(float x0, float z0, float x1, float z1, const int targets[4])
{
    LayoutCell cell;
    cell.corners = {glm::vec2(x0, z1), glm::vec2(x1, z1), glm::vec2(x1, z0), glm::vec2(x0, z0)};
    cell.sides[0] = {{{x0, z1}, {x0, z0}, targets[0]}};
    cell.sides[1] = {{{x0, z1}, {x1, z1}, targets[1]}};
    cell.sides[2] = {{{x1, z1}, {x1, z0}, targets[2]}};
    cell.sides[3] = {{{x0, z0}, {x1, z0}, targets[3]}};
    cell.floorModel = kFirstFloorModel;
    return cell;
}

const WallRun& RunOn(const LevelLayout& layout, int cell, int side)
{
    for (const WallRun& run : layout.Walls()) {
        if (run.cell == cell && run.side == side)
            return run;
    }
    static WallRun none{};
    ADD_FAILURE() << "no wall on side " << side << " of cell " << cell;
    return none;
}

bool RayHitsTriangle(const glm::vec3& origin, const glm::vec3& direction, const glm::vec3& a, const glm::vec3& b,
                     const glm::vec3& c, float& distance)
{
    const glm::vec3 e1 = b - a;
    const glm::vec3 e2 = c - a;
    const glm::vec3 p = glm::cross(direction, e2);
    const float det = glm::dot(e1, p);
    if (std::fabs(det) < 1e-9f)
        return false;
    const glm::vec3 s = origin - a;
    const float u = glm::dot(s, p) / det;
    const glm::vec3 q = glm::cross(s, e1);
    const float v = glm::dot(direction, q) / det;
    distance = glm::dot(e2, q) / det;
    return u >= 0.0f && v >= 0.0f && u + v <= 1.0f && distance >= 0.0f;
}

float NearestHit(const ContentMesh& mesh, const glm::vec3& origin, const glm::vec3& direction)
{
    float nearest = 1e30f;
    for (const ContentFace& face : mesh.faces) {
        float distance;
        if (RayHitsTriangle(origin, direction, mesh.vertices[face.index[0]].position, mesh.vertices[face.index[1]].position,
                            mesh.vertices[face.index[2]].position, distance))
            nearest = std::min(nearest, distance);
    }
    return nearest;
}

bool InGateGap(const glm::vec2& p)
{
    const BuildingZone& gap = GateZone();
    return p.x >= gap.minimum.x - 0.5f && p.x <= gap.maximum.x + 0.5f && p.y >= gap.minimum.y - 1.0f &&
           p.y <= gap.maximum.y;
}

} // namespace

TEST(LevelLayout, WallFacesKeepTheirDistanceOrStandAstrideASharedLine)
{
    // Cell 0 walled on all sides but the right, which opens into cell 1; cell 1's top is a wall
    // it shares with nothing, its bottom a wall back to back with cell 2 below.
    const int first[4] = {-1, -1, 1, -1};
    const int second[4] = {0, -1, -1, -1};
    const int third[4] = {-1, -1, -1, -1};
    const LayoutCell a = Square(0, 0, 10, 10, first);
    const LayoutCell b = Square(10, 0, 20, 10, second);
    const LayoutCell c = Square(10, -10, 20, 0, third);
    const std::vector<LayoutWall> walls = {
        {0, 0, {0, 10}, {0, 0}, 3}, {0, 1, {0, 10}, {10, 10}, 3}, {0, 3, {0, 0}, {10, 0}, 3},
        {1, 1, {10, 10}, {20, 10}, 3}, {1, 2, {20, 10}, {20, 0}, 3}, {1, 3, {10, 0}, {20, 0}, 3},
        {2, 0, {10, 0}, {10, -10}, 3}, {2, 2, {20, 0}, {20, -10}, 3}, {2, 3, {10, -10}, {20, -10}, 3}};
    const LevelLayout layout({a, b, c}, walls);

    const WallRun& free = RunOn(layout, 0, 0);
    EXPECT_GE(free.clearance, LevelLayout::kClearanceCap);
    EXPECT_FLOAT_EQ(free.inner, LevelLayout::kInnerOffset);
    EXPECT_FLOAT_EQ(free.outer, LevelLayout::kInnerOffset + LevelLayout::kFreeWallThickness);
    EXPECT_FLOAT_EQ(free.outward.x, -1.0f);

    const WallRun& shared = RunOn(layout, 1, 3);
    EXPECT_LT(shared.clearance, 0.2f);
    EXPECT_LT(shared.inner, 0.0f);
    EXPECT_GT(shared.outer, 0.0f);
    EXPECT_NEAR(shared.inner, -shared.outer, 1e-6f);

    // The left and top walls of cell 0 meet in a mitre at the top-left corner.
    EXPECT_NEAR(free.footprint[0].x, -1.25f, 1e-4f);
    EXPECT_NEAR(free.footprint[0].y, 11.25f, 1e-4f);
    EXPECT_NEAR(free.footprint[3].x, -2.5f, 1e-4f);
    EXPECT_NEAR(free.footprint[3].y, 12.5f, 1e-4f);

    // The opening between cells 0 and 1 runs across the ends of their top walls, not in line
    // with them: no gateway post there.
    EXPECT_FALSE(RunOn(layout, 0, 1).toIsJamb);
    // The top wall of cell 0 reaches on past its corner to meet cell 1's, leaving no gap; the
    // bottom wall stops at cell 2, whose own wall closes the corner.
    EXPECT_GT(RunOn(layout, 0, 1).footprint[2].x, RunOn(layout, 1, 1).footprint[3].x);
    EXPECT_NEAR(RunOn(layout, 0, 3).footprint[1].x, 10.0f, 1e-4f);
    EXPECT_GE(RunOn(layout, 0, 3).footprint[1].x, RunOn(layout, 2, 0).footprint[2].x);

    EXPECT_TRUE(layout.IsWalkable({5, 5}));
    EXPECT_FALSE(layout.IsWalkable({5, 10.01f}));
    EXPECT_EQ(layout.CellAt({15, -5}), 2);
    EXPECT_EQ(layout.CellAt({-1, 5}), -1);
}

TEST(LevelLayout, GatewayPostsGoWhereAnOpeningRunsOnInLine)
{
    LayoutCell cell;
    cell.corners = {glm::vec2(0, 10), glm::vec2(30, 10), glm::vec2(30, 0), glm::vec2(0, 0)};
    cell.sides[0] = {{{0, 10}, {0, 0}, -1}};
    cell.sides[1] = {{{0, 10}, {10, 10}, -1}, {{10, 10}, {20, 10}, 1}, {{20, 10}, {30, 10}, -1}};
    cell.sides[2] = {{{30, 10}, {30, 0}, -1}};
    cell.sides[3] = {{{0, 0}, {30, 0}, -1}};
    LayoutCell above = Square(10, 10, 20, 20, std::array<int, 4>{-1, -1, -1, 0}.data());
    const LevelLayout layout({cell, above}, {{0, 1, {0, 10}, {10, 10}, 3}, {0, 1, {20, 10}, {30, 10}, 3}});
    ASSERT_EQ(layout.Walls().size(), 2u);
    EXPECT_FALSE(layout.Walls()[0].fromIsJamb);
    EXPECT_TRUE(layout.Walls()[0].toIsJamb);
    EXPECT_TRUE(layout.Walls()[1].fromIsJamb);
    EXPECT_FALSE(layout.Walls()[1].toIsJamb);
    // A jamb end stops at the opening.
    EXPECT_NEAR(layout.Walls()[0].footprint[1].x, 10.0f, 1e-4f);
}

// The real floor plan and its models.
class PlanModels : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_map = new CLevelMap();
        s_layout = new LevelLayout(*s_map);
    }
    static void TearDownTestSuite()
    {
        delete s_layout;
        delete s_map;
    }
    static CLevelMap* s_map;
    static LevelLayout* s_layout;
};

CLevelMap* PlanModels::s_map = nullptr;
LevelLayout* PlanModels::s_layout = nullptr;

// Walk up to any wall of the plan and look at it: a wall face stands before the eyes, no
// farther than the wall's own thickness. The visible walls are the walls that stop the player.
TEST_F(PlanModels, EveryWallOfTheMapIsBuiltWhereItStopsThePlayer)
{
    ASSERT_EQ(s_layout->Walls().size(), s_map->Walls().size());
    std::vector<ContentMesh> walls;
    for (int model = kFirstWallModel; model < kFirstFloorModel + kFloorModelCount; ++model)
        walls.push_back(BuildPlanWalls(*s_layout, model).Result());
    int samples = 0;
    for (const WallRun& run : s_layout->Walls()) {
        for (int k = 1; k < 10; ++k) {
            const glm::vec2 p = run.from + (run.to - run.from) * (k / 10.0f);
            if (InGateGap(p))
                continue;
            const glm::vec2 eye = p - run.outward * 0.2f;
            float nearest = 1e30f;
            for (const ContentMesh& mesh : walls)
                nearest = std::min(nearest, NearestHit(mesh, {eye.x, 1.0f, eye.y}, {run.outward.x, 0.0f, run.outward.y}));
            EXPECT_LE(nearest, 0.2f + run.outer + 0.01f) << "cell " << run.cell << " side " << run.side << " at "
                                                         << p.x << ", " << p.y;
            ++samples;
        }
    }
    EXPECT_GT(samples, 1000);
}

// Walls keep out of the walkable cells, but for half a shared wall and its gateway posts.
TEST_F(PlanModels, WallsKeepOutOfTheWalkableCells)
{
    for (int model = kFirstWallModel; model < kFirstFloorModel + kFloorModelCount; ++model) {
        const ContentMesh mesh = BuildPlanWalls(*s_layout, model).Result();
        for (const ContentVertex& vertex : mesh.vertices) {
            const glm::vec2 p(vertex.position.x, vertex.position.z);
            for (int cell = 0; cell < s_layout->CellCount(); ++cell)
                EXPECT_LT(s_layout->DepthInside(cell, p), 0.66f) << "model " << model << " cell " << cell;
        }
    }
}

TEST_F(PlanModels, EveryCellHasGroundInTheModelItsFloorIsIn)
{
    for (int cell = 0; cell < s_layout->CellCount(); ++cell) {
        const LayoutCell& c = s_layout->Cell(cell);
        const ContentMesh ground = BuildPlanGround(*s_layout, c.floorModel).Result();
        const glm::vec2 centre = (c.corners[0] + c.corners[1] + c.corners[2] + c.corners[3]) * 0.25f;
        std::vector<glm::vec2> probes = {centre};
        for (const glm::vec2& corner : c.corners)
            probes.push_back(corner + glm::normalize(centre - corner) * 1.0f);
        for (const glm::vec2& p : probes) {
            const float hit = NearestHit(ground, {p.x, 10.0f, p.y}, {0.0f, -1.0f, 0.0f});
            EXPECT_GE(hit, 9.9f) << "cell " << cell;
            EXPECT_LE(hit, 10.03f) << "cell " << cell;
        }
        // And the player standing in the cell is shown its floor and its walls.
        const std::vector<int>& drawn = c.drawList;
        EXPECT_NE(std::find(drawn.begin(), drawn.end(), c.floorModel), drawn.end()) << "cell " << cell;
    }
    for (const WallRun& run : s_layout->Walls()) {
        const std::vector<int>& drawn = s_layout->Cell(run.cell).drawList;
        EXPECT_NE(std::find(drawn.begin(), drawn.end(), run.model), drawn.end()) << "cell " << run.cell;
    }
}

TEST_F(PlanModels, TheGateFillsTheGapLeftInTheNorthWall)
{
    const ContentMesh gate = BuildGate(*s_layout).Result();
    const BuildingZone& gap = GateZone();
    // Looking north through the gap at head height, the gate is there.
    for (float x = gap.minimum.x + 0.3f; x < gap.maximum.x; x += 0.5f) {
        float nearest = 1e30f;
        for (float height : {0.65f, 3.3f, 5.9f})
            nearest = std::min(nearest, NearestHit(gate, {x, height, gap.minimum.y - 0.5f}, {0.0f, 0.0f, 1.0f}));
        EXPECT_LT(nearest, 3.0f) << x;
    }
}
