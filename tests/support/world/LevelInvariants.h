#pragma once

#include "world/CLevelMap.h"
#include "world/LevelGeometry.h"

#include <algorithm>
#include <cmath>
#include <vector>

// Geometry for checking the map's steps, written apart from the map's own collision code so that
// the tests do not test that code with itself. (The plan's shape, its reciprocal openings and
// its connectedness are checked by tools/levelgen as it writes world/LevelContent.cpp.)
namespace level_invariants {

// How far (x, z) lies outside the cell: negative inside.
inline double OutsideDistance(const CCell& c, double x, double z)
{
    const MapPoint* ring[4] = {c.corners[0], c.corners[1], c.corners[3], c.corners[2]};
    double worst = -1e300;
    for (int k = 0; k < 4; ++k) {
        const MapPoint &p = *ring[k], &q = *ring[(k + 1) % 4];
        worst = std::max(worst,
                         ((double(q.x) - p.x) * (z - p.z) - (double(q.z) - p.z) * (x - p.x)) /
                             std::hypot(double(q.x) - p.x, double(q.z) - p.z));
    }
    return worst;
}

struct WallStretch {
    MapPoint a, b;
    int cell;
};

// Every wall segment of every cell's side lists, read from the lists themselves.
inline std::vector<WallStretch> WallStretches(const CLevelMap& map)
{
    std::vector<WallStretch> walls;
    for (int i = 0; i < CLevelMap::kCellCount; ++i)
        for (int side = 0; side < 4; ++side)
            for (const SideSegment& s : map.Cell(i).sides[side].segments)
                if (s.target == -1)
                    walls.push_back({SidePoint(map.Cell(i), side, s.from), SidePoint(map.Cell(i), side, s.to), i});
    return walls;
}

// Whether the segments p0-p1 and a-b meet with p0 and p1 strictly on either side of a-b.
inline bool PassesThrough(double x0, double z0, double x1, double z1, double ax, double az, double bx, double bz)
{
    auto side = [](double px, double pz, double qx, double qz, double rx, double rz) {
        const double v = (qx - px) * (rz - pz) - (qz - pz) * (rx - px);
        return (v > 0) - (v < 0);
    };
    return side(ax, az, bx, bz, x0, z0) * side(ax, az, bx, bz, x1, z1) < 0 &&
        side(x0, z0, x1, z1, ax, az) * side(x0, z0, x1, z1, bx, bz) <= 0;
}

}  // namespace level_invariants
