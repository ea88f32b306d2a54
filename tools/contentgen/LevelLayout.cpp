#include "tools/contentgen/LevelLayout.h"

#include "world/CLevelMap.h"
#include "world/LevelContent.h"

#include <algorithm>
#include <cmath>
#include <glm/common.hpp>
#include <glm/geometric.hpp>

namespace {

enum { kTopLeft = 0, kTopRight = 1, kBottomRight = 2, kBottomLeft = 3 };

// Start and end corner of each side (left, top, right, bottom), in the direction its list runs.
constexpr int kSideStart[4] = {kTopLeft, kTopLeft, kTopRight, kBottomLeft};
constexpr int kSideEnd[4] = {kBottomLeft, kTopRight, kBottomRight, kBottomRight};
// Left and right lists are bounded in z, top and bottom lists in x.
constexpr bool kBoundedInZ[4] = {true, false, true, false};

constexpr float kSame = 0.01f;
// Walls on a line two cells share stand astride it, this thick.
constexpr float kSharedWallThickness = 0.6f;

glm::vec2 PointOnSide(const LayoutCell& cell, int side, float bound)
{
    const glm::vec2 a = cell.corners[kSideStart[side]];
    const glm::vec2 b = cell.corners[kSideEnd[side]];
    const float start = kBoundedInZ[side] ? a.y : a.x;
    const float end = kBoundedInZ[side] ? b.y : b.x;
    return a + (b - a) * ((bound - start) / (end - start));
}

glm::vec2 Centre(const LayoutCell& cell)
{
    return (cell.corners[0] + cell.corners[1] + cell.corners[2] + cell.corners[3]) * 0.25f;
}

glm::vec2 Outward(const LayoutCell& cell, int side)
{
    const glm::vec2 a = cell.corners[kSideStart[side]];
    const glm::vec2 b = cell.corners[kSideEnd[side]];
    glm::vec2 outward = glm::normalize(glm::vec2(b.y - a.y, a.x - b.x));
    if (glm::dot(Centre(cell) - a, outward) > 0.0f)
        outward = -outward;
    return outward;
}

float Cross(const glm::vec2& a, const glm::vec2& b)
{
    return a.x * b.y - a.y * b.x;
}

bool Intersect(const glm::vec2& p, const glm::vec2& d, const glm::vec2& q, const glm::vec2& e, glm::vec2& hit)
{
    const float denominator = Cross(d, e);
    if (std::fabs(denominator) < 0.05f)
        return false;
    hit = p + d * (Cross(q - p, e) / denominator);
    return true;
}

std::vector<LayoutCell> CellsOf(const CLevelMap& map)
{
    std::vector<LayoutCell> cells(CLevelMap::kCellCount);
    for (int i = 0; i < CLevelMap::kCellCount; ++i) {
        const CCell& cell = map.Cell(i);
        LayoutCell& out = cells[i];
        // The map keeps top-left, top-right, bottom-left, bottom-right.
        const int order[4] = {0, 1, 3, 2};
        for (int k = 0; k < 4; ++k)
            out.corners[k] = glm::vec2(cell.corners[order[k]]->x, cell.corners[order[k]]->z);
        for (int side = 0; side < 4; ++side) {
            for (const SideSegment& segment : cell.sides[side].segments) {
                out.sides[side].push_back(
                    {PointOnSide(out, side, segment.from), PointOnSide(out, side, segment.to), segment.target});
            }
        }
        out.drawList = map.DrawList(i);
        out.floorModel = kLevelCells[i].floorModel;
    }
    return cells;
}

std::vector<LayoutWall> WallsOf(const CLevelMap& map)
{
    std::vector<LayoutWall> walls;
    for (const WallSegment& wall : map.Walls())
        walls.push_back({wall.cell, wall.side, {wall.a.x, wall.a.z}, {wall.b.x, wall.b.z}, wall.model});
    return walls;
}

}  // namespace

LevelLayout::LevelLayout(const CLevelMap& map) : LevelLayout(CellsOf(map), WallsOf(map)) {}

LevelLayout::LevelLayout(std::vector<LayoutCell> cells, const std::vector<LayoutWall>& walls)
    : m_cells(std::move(cells))
{
    m_minimum = glm::vec2(1e30f);
    m_maximum = glm::vec2(-1e30f);
    for (const LayoutCell& cell : m_cells) {
        for (const glm::vec2& corner : cell.corners) {
            m_minimum = glm::min(m_minimum, corner);
            m_maximum = glm::max(m_maximum, corner);
        }
        std::array<glm::vec2, 4> outward;
        for (int side = 0; side < 4; ++side)
            outward[side] = Outward(cell, side);
        m_outward.push_back(outward);
    }
    BuildWalls(walls);
}

float LevelLayout::Depth(int cell, const glm::vec2& p) const
{
    float depth = 1e30f;
    for (int side = 0; side < 4; ++side)
        depth = std::min(depth, glm::dot(m_cells[cell].corners[kSideStart[side]] - p, m_outward[cell][side]));
    return depth;
}

bool LevelLayout::IsWalkable(const glm::vec2& p, float margin) const
{
    for (int i = 0; i < CellCount(); ++i) {
        if (Depth(i, p) > margin)
            return true;
    }
    return false;
}

int LevelLayout::CellAt(const glm::vec2& p) const
{
    for (int i = 0; i < CellCount(); ++i) {
        if (Depth(i, p) >= 0.0f)
            return i;
    }
    return -1;
}

float LevelLayout::DepthInside(int cell, const glm::vec2& p) const
{
    return Depth(cell, p);
}

float LevelLayout::Clearance(const glm::vec2& from, const glm::vec2& to, const glm::vec2& outward) const
{
    float clearance = kClearanceCap;
    for (int k = 0; k < 7; ++k) {
        const glm::vec2 p = from + (to - from) * (0.05f + 0.15f * static_cast<float>(k));
        for (int step = 1; step <= 100 && 0.1f * static_cast<float>(step) < clearance; ++step) {
            if (IsWalkable(p + outward * (0.1f * static_cast<float>(step)))) {
                clearance = 0.1f * static_cast<float>(step);
                break;
            }
        }
    }
    return clearance;
}

bool LevelLayout::IsOpeningEnd(const glm::vec2& p, const glm::vec2& direction) const
{
    for (const LayoutCell& cell : m_cells) {
        for (const std::vector<LayoutSegment>& side : cell.sides) {
            for (const LayoutSegment& segment : side) {
                if (segment.target < 0 || glm::length(segment.to - segment.from) < kSame)
                    continue;
                const glm::vec2 along = glm::normalize(segment.to - segment.from);
                if (std::fabs(Cross(along, direction)) > 0.02f)
                    continue;
                if (glm::length(segment.from - p) < kSame || glm::length(segment.to - p) < kSame)
                    return true;
            }
        }
    }
    return false;
}

bool LevelLayout::IsFreeStrip(const glm::vec2& p, const glm::vec2& direction, float length, const glm::vec2& outward,
                              float inner, float outer) const
{
    for (int i = 0; i <= 4; ++i) {
        for (int j = 0; j <= 2; ++j) {
            const float along = length * static_cast<float>(i) / 4.0f;
            const float across = inner + (outer - inner) * static_cast<float>(j) / 2.0f;
            if (IsWalkable(p + direction * along + outward * across))
                return false;
        }
    }
    return true;
}

void LevelLayout::BuildWalls(const std::vector<LayoutWall>& walls)
{
    for (const LayoutWall& wall : walls) {
        if (glm::length(wall.to - wall.from) < kSame)
            continue;
        WallRun run{};
        run.cell = wall.cell;
        run.side = wall.side;
        run.model = wall.model;
        run.from = wall.from;
        run.to = wall.to;
        run.outward = Outward(m_cells[wall.cell], wall.side);
        run.clearance = Clearance(wall.from, wall.to, run.outward);
        if (run.clearance >= kClearanceCap) {
            run.inner = kInnerOffset;
            run.outer = kInnerOffset + kFreeWallThickness;
        } else if (run.clearance < 2.0f * kSharedWallThickness) {
            run.inner = -0.5f * kSharedWallThickness;
            run.outer = 0.5f * kSharedWallThickness;
        } else {
            run.outer = 0.5f * run.clearance;
            run.inner = std::min(kInnerOffset, run.outer - 0.5f * kSharedWallThickness);
        }
        const glm::vec2 direction = glm::normalize(wall.to - wall.from);
        run.fromIsJamb = IsOpeningEnd(wall.from, direction);
        run.toIsJamb = IsOpeningEnd(wall.to, direction);
        m_walls.push_back(run);
    }
    for (WallRun& run : m_walls) {
        const glm::vec2 d = glm::normalize(run.to - run.from);
        glm::vec2 ends[2][2] = {{run.from + run.outward * run.inner, run.from + run.outward * run.outer},
                                {run.to + run.outward * run.inner, run.to + run.outward * run.outer}};
        for (int end = 0; end < 2; ++end) {
            const glm::vec2 p = end == 0 ? run.from : run.to;
            bool mitred = false;
            for (const WallRun& other : m_walls) {
                if (&other == &run || other.cell != run.cell || other.side == run.side)
                    continue;
                if (glm::length(other.from - p) > kSame && glm::length(other.to - p) > kSame)
                    continue;
                const glm::vec2 e = glm::normalize(other.to - other.from);
                glm::vec2 innerHit;
                glm::vec2 outerHit;
                if (Intersect(run.from + run.outward * run.inner, d, other.from + other.outward * other.inner, e,
                              innerHit) &&
                    Intersect(run.from + run.outward * run.outer, d, other.from + other.outward * other.outer, e,
                              outerHit) &&
                    glm::length(outerHit - p) < 4.0f * std::max(1.0f, run.outer)) {
                    ends[end][0] = innerHit;
                    ends[end][1] = outerHit;
                    mitred = true;
                }
            }
            const glm::vec2 onward = end == 0 ? -d : d;
            const float reach = std::max(run.outer, 0.5f * kSharedWallThickness);
            if (!mitred && IsFreeStrip(p, onward, reach, run.outward, run.inner, run.outer)) {
                ends[end][0] += onward * reach;
                ends[end][1] += onward * reach;
            }
        }
        run.footprint = {ends[0][0], ends[1][0], ends[1][1], ends[0][1]};
    }
}
