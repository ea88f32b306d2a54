#include "tools/floorplan/EyePositions.h"

#include "world/CLevelMap.h"
#include "world/LevelGeometry.h"

#include <glm/geometric.hpp>

#include <algorithm>
#include <cmath>

namespace {

// How far inside the boundary the eye is sampled: walls on the boundary do not count as passed
// by lines that start on them, so the samples keep off their line.
constexpr float kInset = 0.05f;
// How far outside its cell an allowed step may leave the viewer (see CLevelMap::TryMove).
constexpr float kOutsideReach = 0.5f;

glm::vec2 Vec(const MapPoint& p)
{
    return {p.x, p.z};
}

void SampleSegment(const glm::vec2& a, const glm::vec2& b, float spacing, std::vector<glm::vec2>& out)
{
    const float length = glm::distance(a, b);
    const int steps = std::max(1, static_cast<int>(std::ceil(length / spacing)));
    for (int i = 0; i <= steps; ++i)
        out.push_back(a + (b - a) * (static_cast<float>(i) / steps));
}

}  // namespace

std::vector<glm::vec2> EyePositions(const CLevelMap& map, int cell, float spacing, float interiorSpacing)
{
    const CCell& c = map.Cell(cell);
    // Clockwise round the cell: top-left, top-right, bottom-right, bottom-left.
    const glm::vec2 ring[4] = {Vec(*c.corners[0]), Vec(*c.corners[1]), Vec(*c.corners[3]), Vec(*c.corners[2])};
    const glm::vec2 centre = (ring[0] + ring[1] + ring[2] + ring[3]) * 0.25f;
    std::vector<glm::vec2> eyes;
    glm::vec2 inset[4];
    for (int i = 0; i < 4; ++i)
        inset[i] = ring[i] + glm::normalize(centre - ring[i]) * kInset;
    for (int i = 0; i < 4; ++i)
        SampleSegment(inset[i], inset[(i + 1) % 4], spacing, eyes);

    for (int side = 0; side < 4; ++side)
        for (const SideSegment& segment : c.sides[side].segments) {
            if (segment.target < 0)
                continue;
            const glm::vec2 from = Vec(SidePoint(c, side, segment.from));
            const glm::vec2 to = Vec(SidePoint(c, side, segment.to));
            const glm::vec2 along = glm::normalize(to - from);
            glm::vec2 outward(along.y, -along.x);
            if (glm::dot(outward, centre - from) > 0.0f)
                outward = -outward;
            std::vector<glm::vec2> beyond;
            SampleSegment(from + outward * kOutsideReach, to + outward * kOutsideReach, spacing, beyond);
            // Near the ends of the opening a wall of the next cell may stand in the way.
            for (const glm::vec2& p : beyond) {
                const bool walledOff =
                    std::any_of(map.Walls().begin(), map.Walls().end(), [&](const WallSegment& wall) {
                        return PathCrossesWall(centre.x, centre.y, p.x, p.y, wall);
                    });
                if (!walledOff)
                    eyes.push_back(p);
            }
        }

    // The inside on a grid, kept where it is well inside.
    glm::vec2 low = ring[0], high = ring[0];
    for (const glm::vec2& p : ring) {
        low = glm::min(low, p);
        high = glm::max(high, p);
    }
    for (float x = low.x + interiorSpacing / 2; x < high.x; x += interiorSpacing)
        for (float z = low.y + interiorSpacing / 2; z < high.y; z += interiorSpacing)
            if (DistanceOutsideCell(c, x, z) < -kInset)
                eyes.emplace_back(x, z);
    return eyes;
}
