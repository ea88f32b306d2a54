#pragma once

#include "world/CLevelMap.h"

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

// Checks of the floor plan's conventions over a set of cells, written independently of the map's
// own geometry code so that the content tests do not test the code with itself. Each returns a
// description of every breach found.
namespace level_invariants {

inline bool BoundedInZ(int side) { return side == LeftSide || side == RightSide; }

inline int Opposite(int side) { return BoundedInZ(side) ? (side == LeftSide ? RightSide : LeftSide) : (side == TopSide ? BottomSide : TopSide); }

inline void SideEnds(const CCell& cell, int side, MapPoint& e1, MapPoint& e2)
{
    static const int ends[4][2] = {{0, 2}, {0, 1}, {1, 3}, {2, 3}};
    e1 = *cell.corners[ends[side][0]];
    e2 = *cell.corners[ends[side][1]];
}

// The point of the side's line at coordinate c of its bounding axis.
inline void PointAt(const CCell& cell, int side, double c, double& x, double& z)
{
    MapPoint e1, e2;
    SideEnds(cell, side, e1, e2);
    if (BoundedInZ(side)) {
        z = c;
        x = e1.x + (c - e1.z) * (double(e2.x) - e1.x) / (double(e2.z) - e1.z);
    } else {
        x = c;
        z = e1.z + (c - e1.x) * (double(e2.z) - e1.z) / (double(e2.x) - e1.x);
    }
}

// Corner order, convexity and the lists' direction and tiling of their side.
inline std::vector<std::string> ShapeErrors(const std::vector<CCell>& cells)
{
    std::vector<std::string> errors;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const CCell& c = cells[i];
        const MapPoint &tl = *c.corners[0], &tr = *c.corners[1], &bl = *c.corners[2], &br = *c.corners[3];
        std::ostringstream where;
        where << "cell " << i << ": ";
        if (!(tl.x < tr.x && bl.x < br.x && tl.z > bl.z && tr.z > br.z))
            errors.push_back(where.str() + "corners out of order");
        const MapPoint* ring[4] = {&tl, &tr, &br, &bl};
        for (int k = 0; k < 4; ++k) {
            const MapPoint &p = *ring[k], &q = *ring[(k + 1) % 4], &r = *ring[(k + 2) % 4];
            if ((double(q.x) - p.x) * (double(r.z) - q.z) - (double(q.z) - p.z) * (double(r.x) - q.x) >= 0)
                errors.push_back(where.str() + "not convex, clockwise");
        }
        for (int side = 0; side < 4; ++side) {
            const auto& segments = c.sides[side].segments;
            MapPoint e1, e2;
            SideEnds(c, side, e1, e2);
            const float start = BoundedInZ(side) ? e1.z : e1.x;
            const float end = BoundedInZ(side) ? e2.z : e2.x;
            if (segments.empty() || segments.size() > 5) {
                errors.push_back(where.str() + "side with no or more than five segments");
                continue;
            }
            if (segments.front().from != start || segments.back().to != end)
                errors.push_back(where.str() + "side list does not span its side");
            for (std::size_t s = 0; s < segments.size(); ++s) {
                const bool forward = BoundedInZ(side) ? segments[s].from > segments[s].to : segments[s].from < segments[s].to;
                if (!forward)
                    errors.push_back(where.str() + "segment runs the wrong way");
                if (s > 0 && segments[s].from != segments[s - 1].to)
                    errors.push_back(where.str() + "segments leave a gap");
                if (segments[s].target < -1 || segments[s].target >= static_cast<int>(cells.size()) ||
                    segments[s].target == static_cast<int>(i))
                    errors.push_back(where.str() + "bad target");
            }
        }
    }
    return errors;
}

// Every opening has its reverse on the opposite side of its target, over the same span, and the
// two sides lie on one line there.
inline std::vector<std::string> ReciprocityErrors(const std::vector<CCell>& cells)
{
    std::vector<std::string> errors;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        for (int side = 0; side < 4; ++side) {
            for (const SideSegment& s : cells[i].sides[side].segments) {
                if (s.target < 0 || s.target >= static_cast<int>(cells.size()))
                    continue;
                const CCell& other = cells[s.target];
                bool found = false;
                for (const SideSegment& r : other.sides[Opposite(side)].segments)
                    found = found || (r.from == s.from && r.to == s.to && r.target == static_cast<int>(i));
                std::ostringstream where;
                where << "cell " << i << " side " << side << " to " << s.target << ": ";
                if (!found)
                    errors.push_back(where.str() + "no reverse opening");
                for (double c : {double(s.from), double(s.to)}) {
                    double x1, z1, x2, z2;
                    PointAt(cells[i], side, c, x1, z1);
                    PointAt(other, Opposite(side), c, x2, z2);
                    if (std::hypot(x1 - x2, z1 - z2) > 1e-3)
                        errors.push_back(where.str() + "sides apart at the opening");
                }
            }
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
                if (s.target >= 0 && s.target < static_cast<int>(cells.size()) && !seen[s.target]) {
                    seen[s.target] = true;
                    todo.push_back(s.target);
                }
    }
    return seen;
}

// Whether (x, z) lies inside the cell or within `tolerance` of it.
inline double OutsideDistance(const CCell& c, double x, double z)
{
    const MapPoint* ring[4] = {c.corners[0], c.corners[1], c.corners[3], c.corners[2]};
    double worst = -1e300;
    for (int k = 0; k < 4; ++k) {
        const MapPoint &p = *ring[k], &q = *ring[(k + 1) % 4];
        const double d = ((double(q.x) - p.x) * (z - p.z) - (double(q.z) - p.z) * (x - p.x)) / std::hypot(double(q.x) - p.x, double(q.z) - p.z);
        worst = std::max(worst, d);
    }
    return worst;
}

// Whether the closed segments p0-p1 and a-b meet with p0 and p1 strictly on either side of a-b.
inline bool PassesThrough(double x0, double z0, double x1, double z1, double ax, double az, double bx, double bz)
{
    auto side = [](double px, double pz, double qx, double qz, double rx, double rz) {
        const double v = (qx - px) * (rz - pz) - (qz - pz) * (rx - px);
        return (v > 0) - (v < 0);
    };
    const int s0 = side(ax, az, bx, bz, x0, z0), s1 = side(ax, az, bx, bz, x1, z1);
    const int sa = side(x0, z0, x1, z1, ax, az), sb = side(x0, z0, x1, z1, bx, bz);
    return s0 * s1 < 0 && sa * sb <= 0;
}

}  // namespace level_invariants
