#include "tools/contentgen/PlanModels.h"

#include "tools/contentgen/GraveyardDressing.h"
#include "tools/contentgen/LevelLayout.h"
#include "tools/contentgen/ModelSetEntry.h"
#include "tools/contentgen/WallPieces.h"
#include "tools/contentgen/WallStyle.h"

#include <algorithm>
#include <cmath>
#include <glm/geometric.hpp>

namespace {

constexpr float kPathWidth = 28.0f;

float FloorTile(Surface surface)
{
    switch (surface) {
    case Surface::Grass: return 8.0f;
    case Surface::Gravel: return 5.0f;
    default: return 4.0f;
    }
}

std::vector<glm::vec2> Widened(const std::array<glm::vec2, 4>& fp, const glm::vec2& outward, float innerGrow,
                               float outerGrow)
{
    return {fp[0] - outward * innerGrow, fp[1] - outward * innerGrow, fp[2] + outward * outerGrow,
            fp[3] + outward * outerGrow};
}

void AddPost(MeshBuilder& b, const glm::vec2& end, const glm::vec2& inwards, const glm::vec2& outward, float inner,
             float outer, float height)
{
    const glm::vec2 centre = end + inwards * 0.8f + outward * (0.5f * (inner + outer));
    const float halfAcross = 0.5f * (outer - inner) + 0.3f;
    const glm::vec2 along = inwards * 0.8f;
    const glm::vec2 across = outward * halfAcross;
    const std::vector<glm::vec2> square = {centre - along - across, centre + along - across, centre + along + across,
                                           centre - along + across};
    b.AddPrism(Surface::Stone, square, 0.0f, height, 3.0f, false);
    std::vector<glm::vec2> cap = {centre - along * 1.1f - across * 1.08f, centre + along * 1.1f - across * 1.08f,
                                  centre + along * 1.1f + across * 1.08f, centre - along * 1.1f + across * 1.08f};
    b.AddPrism(Surface::Stone, cap, height, height + 0.3f, 3.0f, false, true);
    std::vector<glm::vec2> apex = {centre, centre, centre, centre};
    b.AddLoft(Surface::Stone, cap, height + 0.3f, apex, height + 1.1f, 3.0f, false);
}

void AddWall(MeshBuilder& b, const WallRun& run)
{
    const glm::vec2 d = glm::normalize(run.to - run.from);
    for (const WallPiece& piece : WallPieces(run)) {
        const WallStyle& style = piece.style;
        if (style.height <= 0.0f)
            continue;
        const std::vector<glm::vec2> base(piece.footprint.begin(), piece.footprint.end());
        // A churchyard wall's top is under its coping.
        b.AddPrism(style.surface, base, 0.0f, style.height, style.tile, !style.churchyard);
        if (style.churchyard) {
            b.AddPrism(Surface::Stone, Widened(piece.footprint, run.outward, 0.2f, 0.2f), style.height,
                       style.height + 0.35f, 3.0f, true, true);
            if (piece.startIsJamb)
                AddPost(b, run.from, d, run.outward, run.inner, run.outer, style.height + 1.0f);
            if (piece.endIsJamb)
                AddPost(b, run.to, -d, run.outward, run.inner, run.outer, style.height + 1.0f);
        } else {
            b.AddPrism(style.surface, Widened(piece.footprint, run.outward, 0.25f, 0.25f), 0.0f, 1.0f, style.tile, true,
                       false);
            b.AddPrism(style.surface, Widened(piece.footprint, run.outward, 0.45f, 0.45f), style.height - 0.6f,
                       style.height, style.tile, true, true);
        }
    }
}

// The ground between a wall's line and its inner face, a hair below the cells' floors so the
// two never fight where they overlap.
void AddStrip(MeshBuilder& b, const LevelLayout& layout, const WallRun& run)
{
    if (run.inner <= 0.0f)
        return;
    const glm::vec2 d = glm::normalize(run.to - run.from);
    const glm::vec2 a = run.from + d * glm::dot(run.footprint[0] - run.from, d);
    const glm::vec2 c = run.from + d * glm::dot(run.footprint[1] - run.from, d);
    const Surface surface = FloorSurface(layout, run.cell);
    const float y = -0.02f;
    b.AddFace(surface,
              {{a.x, y, a.y},
               {c.x, y, c.y},
               {run.footprint[1].x, y, run.footprint[1].y},
               {run.footprint[0].x, y, run.footprint[0].y}},
              {0.0f, 1.0f, 0.0f}, FloorTile(surface));
}

void AddFloor(MeshBuilder& b, const LevelLayout& layout, int cell)
{
    const Surface surface = FloorSurface(layout, cell);
    std::vector<glm::vec3> points;
    for (const glm::vec2& corner : layout.Cell(cell).corners)
        points.emplace_back(corner.x, 0.0f, corner.y);
    b.AddFace(surface, points, {0.0f, 1.0f, 0.0f}, FloorTile(surface));
}

float NarrowWidth(const LayoutCell& c)
{
    const float width = std::min(glm::length(c.corners[1] - c.corners[0]), glm::length(c.corners[2] - c.corners[3]));
    const float depth = std::min(glm::length(c.corners[0] - c.corners[3]), glm::length(c.corners[1] - c.corners[2]));
    return std::min(width, depth);
}

bool IsPath(const LevelLayout& layout, int cell)
{
    return NarrowWidth(layout.Cell(cell)) <= kPathWidth;
}

}  // namespace

Surface FloorSurface(const LevelLayout& layout, int cell)
{
    const LayoutCell& c = layout.Cell(cell);
    const glm::vec2 centre = (c.corners[0] + c.corners[1] + c.corners[2] + c.corners[3]) * 0.25f;
    if (ChurchZone().Contains(centre) || CryptZone().Contains(centre))
        return Surface::Stone;
    return IsPath(layout, cell) ? Surface::Gravel : Surface::Grass;
}

MeshBuilder BuildPlanWalls(const LevelLayout& layout, int modelIndex)
{
    MeshBuilder b;
    for (const WallRun& run : layout.Walls()) {
        if (run.model == modelIndex)
            AddWall(b, run);
    }
    return b;
}

MeshBuilder BuildPlanGround(const LevelLayout& layout, int modelIndex)
{
    MeshBuilder b;
    for (int cell = 0; cell < layout.CellCount(); ++cell) {
        if (layout.Cell(cell).floorModel != modelIndex)
            continue;
        AddFloor(b, layout, cell);
        const Surface ground = FloorSurface(layout, cell);
        if (ground == Surface::Grass)
            AddYard(b, layout, cell);
        else if (ground == Surface::Gravel)
            AddAvenue(b, layout, cell);
    }
    for (const WallRun& run : layout.Walls()) {
        if (layout.Cell(run.cell).floorModel == modelIndex)
            AddStrip(b, layout, run);
    }
    return b;
}

MeshBuilder BuildPlanModel(const LevelLayout& layout, int modelIndex)
{
    MeshBuilder b = BuildPlanWalls(layout, modelIndex);
    b.Append(BuildPlanGround(layout, modelIndex));
    return b;
}
