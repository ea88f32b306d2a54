#include "tools/floorplan/DrawListDeriver.h"

#include "tools/floorplan/EyePositions.h"
#include "tools/floorplan/EyeSight.h"
#include "world/CLevelMap.h"
#include "world/LevelContent.h"
#include "world/LevelGeometry.h"

#include <glm/common.hpp>
#include <glm/geometric.hpp>

#include <cmath>

namespace {

constexpr float kEyeSpacing = 1.0f;
constexpr float kInteriorEyeSpacing = 4.0f;
constexpr double kOnLine = 1e-3;

double DistanceFromLine(const MapPoint& a, const MapPoint& b, const MapPoint& p)
{
    const double dx = double(b.x) - a.x, dz = double(b.z) - a.z;
    return std::fabs(dx * (double(p.z) - a.z) - dz * (double(p.x) - a.x)) / std::hypot(dx, dz);
}

// Whether the wall lies on the stretch of the cell's side between its corners.
bool OnSide(const CCell& cell, int side, const WallSegment& wall)
{
    const int ends[4][2] = {{0, 2}, {0, 1}, {1, 3}, {2, 3}};
    const MapPoint& e1 = *cell.corners[ends[side][0]];
    const MapPoint& e2 = *cell.corners[ends[side][1]];
    if (DistanceFromLine(e1, e2, wall.a) > kOnLine || DistanceFromLine(e1, e2, wall.b) > kOnLine)
        return false;
    const double dx = double(e2.x) - e1.x, dz = double(e2.z) - e1.z;
    const double middle = ((wall.a.x + wall.b.x) / 2.0 - e1.x) * dx + ((wall.a.z + wall.b.z) / 2.0 - e1.z) * dz;
    return middle > 0.0 && middle < dx * dx + dz * dz;
}

float DistanceToBox(const glm::vec2& p, const glm::vec2& low, const glm::vec2& high)
{
    return glm::distance(p, glm::clamp(p, low, high));
}

}  // namespace

DrawListDeriver::DrawListDeriver(const CLevelMap& map, std::vector<std::vector<glm::vec3>> targets,
                                 std::vector<Occluder> walls, float reach, float highestEye)
    : m_map(map), m_targets(std::move(targets)), m_walls(std::move(walls)), m_reach(reach), m_highestEye(highestEye)
{
    for (const std::vector<glm::vec3>& points : m_targets) {
        Extent extent{glm::vec2(INFINITY), glm::vec2(-INFINITY)};
        for (const glm::vec3& p : points) {
            extent.low = glm::min(extent.low, glm::vec2(p.x, p.z));
            extent.high = glm::max(extent.high, glm::vec2(p.x, p.z));
        }
        m_extents.push_back(extent);
    }
}

std::vector<bool> DrawListDeriver::SeenFromAnywhereIn(int cell) const
{
    std::vector<bool> seen(m_targets.size(), false);
    seen[kSkyModel] = true;
    seen[kLevelCells[cell].wallModel] = true;
    seen[kLevelCells[cell].floorModel] = true;
    const CCell& c = m_map.Cell(cell);
    for (int side = 0; side < 4; ++side) {
        for (const SideSegment& segment : c.sides[side].segments)
            if (segment.target >= 0)
                seen[kLevelCells[segment.target].floorModel] = true;
        for (const WallSegment& wall : m_map.Walls())
            if (OnSide(c, side, wall))
                seen[wall.model] = true;
    }
    return seen;
}

std::vector<int> DrawListDeriver::DrawList(int cell) const
{
    std::vector<bool> seen = SeenFromAnywhereIn(cell);
    EyeSight sight(m_walls, m_reach);
    for (const glm::vec2& eye : EyePositions(m_map, cell, kEyeSpacing, kInteriorEyeSpacing)) {
        // The highest eye sees over every wall that a lower one sees over.
        sight.MoveTo(eye, m_highestEye);
        for (std::size_t model = 0; model < m_targets.size(); ++model) {
            if (seen[model] || m_targets[model].empty() ||
                DistanceToBox(eye, m_extents[model].low, m_extents[model].high) >= m_reach)
                continue;
            for (const glm::vec3& point : m_targets[model])
                if (sight.Sees(point)) {
                    seen[model] = true;
                    break;
                }
        }
    }
    std::vector<int> list;
    for (std::size_t model = 0; model < seen.size(); ++model)
        if (seen[model])
            list.push_back(static_cast<int>(model));
    return list;
}
