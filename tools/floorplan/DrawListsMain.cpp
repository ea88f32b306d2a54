// drawlists [output]: derives each cell's draw list from the compiled-in floor plan and writes
// it in the form tools/levelgen reads (default tools/levelgen/drawlists.txt).
//
// A model is listed for a cell when some point of it can be seen from some point of the cell
// within the fog's end distance: a sight line that passes through no wall. Seeing from inside a
// convex cell is seeing from its boundary, and a floor is seen once a point just inside its
// boundary is, so both are sampled along cell boundaries. Walls hide everything behind them from
// every eye height; the tall models are seen over them. The sky dome is listed everywhere.
#include "tools/floorplan/ModelPlacements.h"
#include "world/CLevelMap.h"
#include "world/LevelContent.h"
#include "world/LevelGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr double kFogEnd = 140.0;
constexpr double kSpacing = 1.0;
constexpr double kInset = 0.05;
constexpr int kSkyModel = 0;
constexpr int kModelCount = 23;

struct Point {
    double x;
    double z;
};

double Distance(const Point& a, const Point& b) { return std::hypot(a.x - b.x, a.z - b.z); }

double DistanceToSegment(const Point& p, const MapPoint& a, const MapPoint& b)
{
    const double dx = b.x - a.x, dz = b.z - a.z;
    const double t = std::clamp(((p.x - a.x) * dx + (p.z - a.z) * dz) / (dx * dx + dz * dz), 0.0, 1.0);
    return std::hypot(p.x - (a.x + t * dx), p.z - (a.z + t * dz));
}

// Points along a segment, at an offset from its start so samples do not line up with the
// whole-unit corners of the plan.
void SampleSegment(const Point& a, const Point& b, std::vector<Point>& out)
{
    const double length = Distance(a, b);
    out.push_back(a);
    for (double t = 0.37; t < length; t += kSpacing)
        out.push_back({a.x + (b.x - a.x) * t / length, a.z + (b.z - a.z) * t / length});
    out.push_back(b);
}

// The cell's boundary moved just inside the cell.
std::vector<Point> SampleCellBoundary(const CCell& cell)
{
    const MapPoint* ring[4] = {cell.corners[0], cell.corners[1], cell.corners[3], cell.corners[2]};
    Point centre{0, 0};
    for (const MapPoint* p : ring) {
        centre.x += p->x / 4.0;
        centre.z += p->z / 4.0;
    }
    std::vector<Point> edge;
    for (int i = 0; i < 4; ++i) {
        auto inset = [&](const MapPoint* p) {
            const double d = std::hypot(centre.x - p->x, centre.z - p->z);
            return Point{p->x + (centre.x - p->x) * kInset / d, p->z + (centre.z - p->z) * kInset / d};
        };
        SampleSegment(inset(ring[i]), inset(ring[(i + 1) % 4]), edge);
    }
    return edge;
}

class Visibility {
public:
    explicit Visibility(const CLevelMap& map) : m_map(map) {}

    bool Sees(const std::vector<Point>& from, const std::vector<Point>& to) const
    {
        std::vector<const WallSegment*> near;
        for (const Point& p : from) {
            near.clear();
            for (const WallSegment& wall : m_map.Walls())
                if (DistanceToSegment(p, wall.a, wall.b) < kFogEnd)
                    near.push_back(&wall);
            for (const Point& t : to) {
                if (Distance(p, t) > kFogEnd)
                    continue;
                bool blocked = false;
                for (const WallSegment* wall : near)
                    if (PathCrossesWall(p.x, p.z, t.x, t.z, *wall)) {
                        blocked = true;
                        break;
                    }
                if (!blocked)
                    return true;
            }
        }
        return false;
    }

    static bool WithinReach(const std::vector<Point>& from, const std::vector<Point>& to)
    {
        for (const Point& p : from)
            for (const Point& t : to)
                if (Distance(p, t) <= kFogEnd)
                    return true;
        return false;
    }

private:
    const CLevelMap& m_map;
};

}  // namespace

int main(int argc, char** argv)
{
    const std::string output = argc > 1 ? argv[1] : "tools/levelgen/drawlists.txt";
    const CLevelMap map;

    // What there is to see of each model.
    std::vector<std::vector<Point>> targets(kModelCount);
    std::vector<bool> tall(kModelCount, false);
    // A wall's very ends touch the walls it meets; what can be seen of it lies between them.
    for (const WallSegment& wall : map.Walls()) {
        const double length = std::hypot(wall.b.x - wall.a.x, wall.b.z - wall.a.z);
        const double ux = (wall.b.x - wall.a.x) / length * kInset, uz = (wall.b.z - wall.a.z) / length * kInset;
        SampleSegment({wall.a.x + ux, wall.a.z + uz}, {wall.b.x - ux, wall.b.z - uz}, targets[wall.model]);
    }
    for (int i = 0; i < CLevelMap::kCellCount; ++i) {
        const std::vector<Point> floor = SampleCellBoundary(map.Cell(i));
        auto& list = targets[kLevelCells[i].floorModel];
        list.insert(list.end(), floor.begin(), floor.end());
    }
    for (const ModelPlacement& m : kModelPlacements) {
        const Point corners[4] = {{m.x - m.halfWidth, m.z + m.halfDepth}, {m.x + m.halfWidth, m.z + m.halfDepth},
                                  {m.x + m.halfWidth, m.z - m.halfDepth}, {m.x - m.halfWidth, m.z - m.halfDepth}};
        for (int i = 0; i < 4; ++i)
            SampleSegment(corners[i], corners[(i + 1) % 4], targets[m.model]);
        targets[m.model].push_back({m.x, m.z});
        tall[m.model] = m.tall;
    }

    const Visibility visibility(map);
    FILE* out = std::fopen(output.c_str(), "w");
    if (!out) {
        std::fprintf(stderr, "drawlists: cannot write %s\n", output.c_str());
        return 1;
    }
    std::fprintf(out, "# Derived by tools/drawlists from the compiled floor plan: cell: model indices.\n");
    int total = 0;
    for (int c = 0; c < CLevelMap::kCellCount; ++c) {
        const std::vector<Point> from = SampleCellBoundary(map.Cell(c));
        std::set<int> seen{kSkyModel, kLevelCells[c].wallModel, kLevelCells[c].floorModel};
        for (int m = 1; m < kModelCount; ++m) {
            if (seen.count(m) || targets[m].empty())
                continue;
            if (tall[m] ? Visibility::WithinReach(from, targets[m]) : visibility.Sees(from, targets[m]))
                seen.insert(m);
        }
        std::fprintf(out, "%d:", c);
        for (int m : seen)
            std::fprintf(out, " %d", m);
        std::fprintf(out, "\n");
        total += static_cast<int>(seen.size());
    }
    std::fclose(out);
    std::printf("drawlists: %d entries\n", total);
    return 0;
}
