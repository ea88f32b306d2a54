#include "world/LevelGeometry.h"

#include "world/LevelContent.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace {

constexpr double kCollinearTolerance = 1e-3;

struct Side {
    MapPoint e1;
    MapPoint e2;
};

Side SideEnds(const CCell& cell, int side)
{
    switch (side) {
    case LeftSide: return {*cell.corners[0], *cell.corners[2]};
    case TopSide: return {*cell.corners[0], *cell.corners[1]};
    case RightSide: return {*cell.corners[1], *cell.corners[3]};
    default: return {*cell.corners[2], *cell.corners[3]};
    }
}

int OppositeSide(int side)
{
    switch (side) {
    case LeftSide: return RightSide;
    case RightSide: return LeftSide;
    case TopSide: return BottomSide;
    default: return TopSide;
    }
}

double Cross(double ax, double az, double bx, double bz, double px, double pz)
{
    return (bx - ax) * (pz - az) - (bz - az) * (px - ax);
}

bool OnLine(const MapPoint& p, const Side& line)
{
    const double length = std::hypot(double(line.e2.x) - line.e1.x, double(line.e2.z) - line.e1.z);
    return std::fabs(Cross(line.e1.x, line.e1.z, line.e2.x, line.e2.z, p.x, p.z)) / length < kCollinearTolerance;
}

// Removes [lo, hi] from a sorted list of disjoint intervals.
void Subtract(std::vector<std::pair<float, float>>& intervals, float lo, float hi)
{
    std::vector<std::pair<float, float>> kept;
    for (const auto& [a, b] : intervals) {
        if (hi <= a || b <= lo) {
            kept.emplace_back(a, b);
            continue;
        }
        if (a < lo)
            kept.emplace_back(a, lo);
        if (hi < b)
            kept.emplace_back(hi, b);
    }
    intervals = std::move(kept);
}

}  // namespace

MapPoint SidePoint(const CCell& cell, int side, float along)
{
    const Side s = SideEnds(cell, side);
    if (side == LeftSide || side == RightSide) {
        const float x = s.e1.x + (along - s.e1.z) * (s.e2.x - s.e1.x) / (s.e2.z - s.e1.z);
        return {x, along};
    }
    const float z = s.e1.z + (along - s.e1.x) * (s.e2.z - s.e1.z) / (s.e2.x - s.e1.x);
    return {along, z};
}

std::vector<WallSegment> CollectWalls(const CLevelMap& map)
{
    std::vector<WallSegment> walls;
    for (int a = 0; a < CLevelMap::kCellCount; ++a) {
        const CCell& cell = map.Cell(a);
        for (int side = 0; side < 4; ++side) {
            const bool descending = side == LeftSide || side == RightSide;
            for (const SideSegment& segment : cell.sides[side].segments) {
                if (segment.target != -1)
                    continue;
                std::vector<std::pair<float, float>> pieces{std::minmax(segment.from, segment.to)};
                const Side line = SideEnds(cell, side);
                for (int b = 0; b < CLevelMap::kCellCount; ++b) {
                    const bool otherKeeps = kLevelCells[b].wallModel < kLevelCells[a].wallModel ||
                        (kLevelCells[b].wallModel == kLevelCells[a].wallModel && b < a);
                    if (b == a || !otherKeeps)
                        continue;
                    const CCell& other = map.Cell(b);
                    const int opposite = OppositeSide(side);
                    const Side otherLine = SideEnds(other, opposite);
                    if (!OnLine(otherLine.e1, line) || !OnLine(otherLine.e2, line))
                        continue;
                    for (const SideSegment& o : other.sides[opposite].segments)
                        if (o.target == -1) {
                            const auto [lo, hi] = std::minmax(o.from, o.to);
                            Subtract(pieces, lo, hi);
                        }
                }
                if (descending)
                    std::reverse(pieces.begin(), pieces.end());
                for (const auto& [lo, hi] : pieces) {
                    const float from = descending ? hi : lo;
                    const float to = descending ? lo : hi;
                    walls.push_back(
                        {SidePoint(cell, side, from), SidePoint(cell, side, to), a, side, kLevelCells[a].wallModel});
                }
            }
        }
    }
    return walls;
}

bool PathCrossesWall(double x0, double z0, double x1, double z1, const WallSegment& wall)
{
    const double o0 = Cross(wall.a.x, wall.a.z, wall.b.x, wall.b.z, x0, z0);
    const double o1 = Cross(wall.a.x, wall.a.z, wall.b.x, wall.b.z, x1, z1);
    const double oa = Cross(x0, z0, x1, z1, wall.a.x, wall.a.z);
    const double ob = Cross(x0, z0, x1, z1, wall.b.x, wall.b.z);
    // The wall's end points count as the wall, so a path cannot slip between two walls that meet.
    return ((o0 < 0 && o1 > 0) || (o0 > 0 && o1 < 0)) && ((oa <= 0 && ob >= 0) || (oa >= 0 && ob <= 0));
}

double DistanceOutsideCell(const CCell& cell, double x, double z)
{
    if (!std::isfinite(x) || !std::isfinite(z))
        return std::numeric_limits<double>::infinity();
    // Clockwise around the cell, so the outside lies to the left of each edge.
    const MapPoint* ring[4] = {cell.corners[0], cell.corners[1], cell.corners[3], cell.corners[2]};
    double outside = -std::numeric_limits<double>::infinity();
    for (int i = 0; i < 4; ++i) {
        const MapPoint& p = *ring[i];
        const MapPoint& q = *ring[(i + 1) % 4];
        const double d = Cross(p.x, p.z, q.x, q.z, x, z) / std::hypot(double(q.x) - p.x, double(q.z) - p.z);
        outside = std::max(outside, d);
    }
    return outside;
}
