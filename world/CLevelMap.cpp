#include "world/CLevelMap.h"

#include "world/CRenderer.h"
#include "world/LevelContent.h"
#include "world/LevelGeometry.h"

#include <cmath>

namespace {

// A side is reached when the new point lies closer than this to the side's test line, which is
// the side moved outwards by the same amount along the side's bounding axis.
constexpr double kMargin = 3.0;

// How far outside the cell it is assigned to an allowed step may leave the viewer. Covers the
// strip inside a slanted side that its band also reaches.
constexpr double kOutsideTolerance = 0.5;

// |d| of point (px, pz) from the line through (ax, az) and (bx, bz).
double DistanceFromLine(double ax, double az, double bx, double bz, double px, double pz)
{
    const double d =
        ((bz - az) * (px - ax) - (bx - ax) * (pz - az)) / std::sqrt((bx - ax) * (bx - ax) + (bz - az) * (bz - az));
    return std::fabs(d);
}

bool BoundedInZ(int side)
{
    return side == LeftSide || side == RightSide;
}

// Where the step's line meets the side's own line, as a coordinate along the side's axis.
double CrossingCoordinate(const MapPoint& e1, const MapPoint& e2, int side, float x0, float z0, float x1, float z1)
{
    if (BoundedInZ(side)) {
        if (z1 == z0)
            return z1;
        const double k = (static_cast<double>(e2.x) - e1.x) / (static_cast<double>(e2.z) - e1.z);
        const double n = (static_cast<double>(x1) - x0) / (static_cast<double>(z1) - z0);
        return (k * e1.z - n * z0 + x0 - e1.x) / (k - n);
    }
    if (x1 == x0)
        return x1;
    const double s = (static_cast<double>(e2.z) - e1.z) / (static_cast<double>(e2.x) - e1.x);
    const double m = (static_cast<double>(z1) - z0) / (static_cast<double>(x1) - x0);
    return (s * e1.x - m * x0 + z0 - e1.z) / (s - m);
}

// The crossing passes when the first segment containing it (bounds included) is an opening.
// A coordinate that is not a number matches nothing.
bool IsPassable(const SideList& list, int side, double c)
{
    for (const SideSegment& segment : list.segments) {
        const bool contains =
            BoundedInZ(side) ? (segment.to <= c && c <= segment.from) : (segment.from <= c && c <= segment.to);
        if (contains)
            return segment.target != -1;
    }
    return false;
}

}  // namespace

void CCell::AllocateSides(int left, int top, int right, int bottom)
{
    sides[LeftSide].segments.resize(left);
    sides[TopSide].segments.resize(top);
    sides[RightSide].segments.resize(right);
    sides[BottomSide].segments.resize(bottom);
}

std::int32_t CCell::Classify(float x0, float z0, float x1, float z1) const
{
    const MapPoint& tl = *corners[0];
    const MapPoint& tr = *corners[1];
    const MapPoint& bl = *corners[2];
    const MapPoint& br = *corners[3];

    bool reached[4];
    reached[LeftSide] = DistanceFromLine(tl.x - kMargin, tl.z, bl.x - kMargin, bl.z, x1, z1) < kMargin;
    reached[RightSide] = DistanceFromLine(tr.x + kMargin, tr.z, br.x + kMargin, br.z, x1, z1) < kMargin;
    reached[TopSide] = DistanceFromLine(tl.x, tl.z + kMargin, tr.x, tr.z + kMargin, x1, z1) < kMargin;
    reached[BottomSide] = DistanceFromLine(bl.x, bl.z - kMargin, br.x, br.z - kMargin, x1, z1) < kMargin;

    struct SideInfo {
        int side;
        const MapPoint& e1;
        const MapPoint& e2;
    };
    const SideInfo order[4] = {{LeftSide, tl, bl}, {RightSide, tr, br}, {TopSide, tl, tr}, {BottomSide, bl, br}};
    for (const SideInfo& info : order) {
        if (!reached[info.side])
            continue;
        const SideList& list = sides[info.side];
        if (!IsPassable(list, info.side, CrossingCoordinate(info.e1, info.e2, info.side, x0, z0, x1, z1)))
            return -2;
        for (const SideSegment& segment : list.segments) {
            bool contains;
            switch (info.side) {
            case LeftSide: contains = segment.to <= z1 && z1 <= segment.from; break;
            case RightSide: contains = segment.to < z1 && z1 < segment.from; break;
            default: contains = segment.from <= x1 && x1 <= segment.to; break;
            }
            if (contains)
                return segment.target;
        }
    }
    return -1;
}

CLevelMap::CLevelMap() : m_currentCell(kStartCell)
{
    for (int i = 0; i < kPointCount; ++i)
        m_points[i] = kLevelPoints[i];
    int segment = 0;
    for (int i = 0; i < kCellCount; ++i) {
        const LevelCellData& data = kLevelCells[i];
        CCell& cell = m_cells[i];
        for (int c = 0; c < 4; ++c)
            cell.corners[c] = &m_points[data.corners[c]];
        cell.AllocateSides(data.sideCounts[0], data.sideCounts[1], data.sideCounts[2], data.sideCounts[3]);
        for (SideList& side : cell.sides)
            for (SideSegment& s : side.segments)
                s = kLevelSegments[segment++];
        m_drawLists[i].assign(kLevelDrawLists + kLevelDrawListStart[i], kLevelDrawLists + kLevelDrawListStart[i + 1]);
    }
    m_walls = CollectWalls(*this);
}

void CLevelMap::ResetCell()
{
    m_currentCell = kStartCell;
}

bool CLevelMap::TryMove(float x0, float z0, float x1, float z1)
{
    const std::int32_t result = m_cells[m_currentCell].Classify(x0, z0, x1, z1);
    if (result == -2)
        return false;
    const std::int32_t next = result >= 0 ? result : m_currentCell;
    // The side bands alone let a step cut the corner of a doorway, hop over a band or end in a
    // neighbour the side list does not name; such steps are refused as well.
    for (const WallSegment& wall : m_walls)
        if (PathCrossesWall(x0, z0, x1, z1, wall))
            return false;
    if (!(DistanceOutsideCell(m_cells[next], x1, z1) <= kOutsideTolerance))
        return false;
    m_currentCell = next;
    return true;
}

void CLevelMap::DrawVisible() const
{
    CRenderer* renderer = CRenderer::Instance();
    if (!renderer)
        return;
    const std::vector<int>& list = m_drawLists[m_currentCell];
    for (std::size_t i = 0; i < list.size(); ++i)
        renderer->DrawModel(list[i]);
}
