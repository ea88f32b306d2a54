#pragma once

#include "world/CLevelMap.h"
#include "world/LevelGeometry.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

// Checks of the floor plan's conventions, written apart from the map's own collision code so that
// the content tests do not test that code with itself. Each returns every breach found.
namespace level_invariants {

inline bool BoundedInZ(int side)
{
    return side == LeftSide || side == RightSide;
}

// The ends of a side (left, top, right, bottom), in its list's direction.
inline void SideEnds(const CCell& cell, int side, MapPoint& e1, MapPoint& e2)
{
    static const int ends[4][2] = {{0, 2}, {0, 1}, {1, 3}, {2, 3}};
    e1 = *cell.corners[ends[side][0]];
    e2 = *cell.corners[ends[side][1]];
}

// Corner order, convexity, and each side list's direction and tiling of its side.
inline std::vector<std::string> ShapeErrors(const std::vector<CCell>& cells)
{
    std::vector<std::string> errors;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const CCell& c = cells[i];
        auto fail = [&](const char* what) { errors.push_back("cell " + std::to_string(i) + ": " + what); };
        const MapPoint* ring[4] = {c.corners[0], c.corners[1], c.corners[3], c.corners[2]};
        if (!(ring[0]->x < ring[1]->x && ring[3]->x < ring[2]->x && ring[0]->z > ring[3]->z && ring[1]->z > ring[2]->z))
            fail("corners out of order");
        for (int k = 0; k < 4; ++k) {
            const MapPoint &p = *ring[k], &q = *ring[(k + 1) % 4], &r = *ring[(k + 2) % 4];
            if ((double(q.x) - p.x) * (double(r.z) - q.z) - (double(q.z) - p.z) * (double(r.x) - q.x) >= 0)
                fail("not convex, clockwise");
        }
        for (int side = 0; side < 4; ++side) {
            const std::vector<SideSegment>& list = c.sides[side].segments;
            MapPoint e1, e2;
            SideEnds(c, side, e1, e2);
            const bool z = BoundedInZ(side);
            if (list.empty() || list.front().from != (z ? e1.z : e1.x) || list.back().to != (z ? e2.z : e2.x))
                fail("side list does not span its side");
            for (std::size_t s = 0; s < list.size(); ++s) {
                if (z ? list[s].from <= list[s].to : list[s].from >= list[s].to)
                    fail("segment runs the wrong way");
                if (s > 0 && list[s].from != list[s - 1].to)
                    fail("segments leave a gap");
                if (list[s].target < -1 || list[s].target >= int(cells.size()) || list[s].target == int(i))
                    fail("bad target");
            }
        }
    }
    return errors;
}

// Every opening has its reverse on the opposite side of its target over the same span, and the
// two sides lie on one line there.
inline std::vector<std::string> ReciprocityErrors(const std::vector<CCell>& cells)
{
    std::vector<std::string> errors;
    for (std::size_t i = 0; i < cells.size(); ++i)
        for (int side = 0; side < 4; ++side)
            for (const SideSegment& s : cells[i].sides[side].segments) {
                if (s.target < 0 || s.target >= int(cells.size()))
                    continue;
                const std::string where = "cell " + std::to_string(i) + " to " + std::to_string(s.target) + ": ";
                const auto& back = cells[s.target].sides[(side + 2) % 4].segments;
                if (std::none_of(back.begin(), back.end(), [&](const SideSegment& r) {
                        return r.from == s.from && r.to == s.to && r.target == int(i);
                    }))
                    errors.push_back(where + "no reverse opening");
                for (float c : {s.from, s.to}) {
                    const MapPoint here = SidePoint(cells[i], side, c),
                                   there = SidePoint(cells[s.target], (side + 2) % 4, c);
                    if (std::hypot(double(here.x) - there.x, double(here.z) - there.z) > 1e-3)
                        errors.push_back(where + "sides apart at the opening");
                }
            }
    return errors;
}

// Cells reachable from `start` through openings.
inline std::vector<bool> Reachable(const std::vector<CCell>& cells, int start)
{
    std::vector<bool> seen(cells.size(), false);
    std::vector<int> todo{start};
    seen[start] = true;
    while (!todo.empty()) {
        const int cell = todo.back();
        todo.pop_back();
        for (const SideList& side : cells[cell].sides)
            for (const SideSegment& s : side.segments)
                if (s.target >= 0 && s.target < int(cells.size()) && !seen[s.target]) {
                    seen[s.target] = true;
                    todo.push_back(s.target);
                }
    }
    return seen;
}

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
