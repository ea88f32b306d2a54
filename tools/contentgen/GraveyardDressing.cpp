#include "tools/contentgen/GraveyardDressing.h"

#include "tools/contentgen/LevelLayout.h"
#include "tools/contentgen/ModelSetEntry.h"
#include "tools/contentgen/PortableMath.h"
#include "tools/contentgen/TileableNoise.h"

#include <algorithm>
#include <cmath>
#include <glm/common.hpp>
#include <glm/geometric.hpp>

namespace {

constexpr float kMargin = 4.0f;  // from the cell's sides
constexpr float kOpeningClear = 7.0f;  // from its openings
constexpr float kModelClear = 10.0f;  // from the placed models
constexpr float kRowStep = 7.0f;
constexpr float kColumnStep = 5.5f;
constexpr int kMostGraves = 9;
constexpr float kAreaPerGrave = 250.0f;
// Stone on small pieces shows about one block of its texture.
constexpr float kSmallTile = 8.0f;
constexpr float kPathWidth = 9.0f;
constexpr float kPathClear = 1.5f;
// Cypresses flank the way from the church door and line the long paths.
constexpr int kDoorCell = 19;
constexpr float kDoorWalk = 20.0f;
constexpr float kLongPath = 60.0f;
constexpr float kLongPathStep = 22.0f;

float DistanceToSegment(const glm::vec2& p, const glm::vec2& a, const glm::vec2& b)
{
    const glm::vec2 ab = b - a;
    const float t = std::clamp(glm::dot(p - a, ab) / glm::dot(ab, ab), 0.0f, 1.0f);
    return glm::length(p - (a + ab * t));
}

bool NearOpening(const LayoutCell& cell, const glm::vec2& p, float clearance)
{
    for (const std::vector<LayoutSegment>& side : cell.sides) {
        for (const LayoutSegment& segment : side) {
            if (segment.target >= 0 && DistanceToSegment(p, segment.from, segment.to) < clearance)
                return true;
        }
    }
    return false;
}

bool NearModel(const glm::vec2& p)
{
    for (int index = 0; index < kModelCount; ++index) {
        const bool planOrSky =
            index == kSkyModel || (index >= kFirstWallModel && index < kFirstFloorModel + kFloorModelCount);
        const glm::vec3& t = ModelSet()[index].translation;
        if (!planOrSky && glm::length(p - glm::vec2(t.x, t.z)) < kModelClear)
            return true;
    }
    return false;
}

// A headstone with a round top, its face to the south.
void AddHeadstone(MeshBuilder& b, Surface surface, const glm::vec2& at, float width, float height)
{
    const float half = 0.5f * width;
    const float shoulder = height - half;
    std::vector<glm::vec2> profile = {{-half, 0.0f}, {half, 0.0f}};
    for (int i = 0; i <= 3; ++i) {
        const double angle = kPi * i / 3.0;
        profile.emplace_back(half * static_cast<float>(PortableCos(angle)),
                             shoulder + half * static_cast<float>(PortableSin(angle)));
    }
    const float z0 = at.y - 0.15f;
    const float z1 = at.y + 0.15f;
    std::vector<glm::vec3> front;
    std::vector<glm::vec3> back;
    for (const glm::vec2& p : profile) {
        front.emplace_back(at.x + p.x, p.y, z0);
        back.emplace_back(at.x + p.x, p.y, z1);
    }
    b.AddFace(surface, front, {0, 0, -1}, kSmallTile);
    b.AddFace(surface, back, {0, 0, 1}, kSmallTile);
    const glm::vec2 centre(0.0f, 0.5f * height);
    // Every edge but the bottom one, which stands on the ground.
    for (std::size_t i = 1; i < profile.size(); ++i) {
        const std::size_t j = (i + 1) % profile.size();
        const glm::vec2 out = (profile[i] + profile[j]) * 0.5f - centre;
        b.AddFace(surface, {front[i], front[j], back[j], back[i]}, {out.x, out.y, 0.0f}, kSmallTile);
    }
}

void AddStoneCross(MeshBuilder& b, Surface surface, const glm::vec2& at)
{
    b.AddBox(surface, {at.x - 0.13f, 0.0f, at.y - 0.13f}, {at.x + 0.13f, 2.1f, at.y + 0.13f}, kSmallTile, 1);
    b.AddBox(surface, {at.x - 0.6f, 1.45f, at.y - 0.13f}, {at.x + 0.6f, 1.7f, at.y + 0.13f}, kSmallTile);
}

void AddGraveSlab(MeshBuilder& b, Surface surface, const glm::vec2& at)
{
    b.AddBox(surface, {at.x - 0.7f, 0.0f, at.y - 2.6f}, {at.x + 0.7f, 0.28f, at.y}, kSmallTile, 1);
    b.AddBox(surface, {at.x - 0.6f, 0.0f, at.y}, {at.x + 0.6f, 1.2f, at.y + 0.3f}, kSmallTile, 1);
}

// A tall stone cross on three steps, where the paths before the church door meet.
void AddCalvary(MeshBuilder& b, const glm::vec2& at)
{
    const float tile = 6.0f;
    for (int step = 0; step < 3; ++step) {
        const float half = 2.6f - 0.7f * step;
        const float y0 = 0.45f * step;
        b.AddBox(Surface::Stone, {at.x - half, y0, at.y - half}, {at.x + half, y0 + 0.45f, at.y + half}, tile, 1);
    }
    b.AddBox(Surface::Stone, {at.x - 0.35f, 1.35f, at.y - 0.35f}, {at.x + 0.35f, 9.0f, at.y + 0.35f}, tile, 1);
    b.AddBox(Surface::Stone, {at.x - 1.9f, 6.9f, at.y - 0.35f}, {at.x + 1.9f, 7.6f, at.y + 0.35f}, tile);
}

// A slim cypress: a short trunk and a flame of foliage.
void AddCypress(MeshBuilder& b, const glm::vec2& at, float scale)
{
    b.AddCylinder(Surface::Wood, {at.x, 0.0f, at.y}, 0.3f, 0.25f, 1.0f, 3, 1.0f, false);
    const float heights[] = {0.8f, 3.2f, 7.5f, 10.6f};
    const float radii[] = {0.9f, 1.45f, 0.85f, 0.0f};
    for (int i = 0; i + 1 < 4; ++i) {
        b.AddLoft(Surface::Foliage, RegularPolygon(at.x, at.y, radii[i] * scale, 5, 0.0), heights[i] * scale,
                  RegularPolygon(at.x, at.y, radii[i + 1] * scale, 5, 0.0), heights[i + 1] * scale, 2.0f, false);
    }
}

struct Path {
    glm::vec2 from;  // middle of an opening
    glm::vec2 to;  // middle of the cell
    float halfWidth;
    glm::vec2 along;  // unit, along the opening
    float openingHalf;  // half the opening's length
    bool toChurch;  // leads to the church door
};

glm::vec2 Middle(const LayoutCell& cell)
{
    return (cell.corners[0] + cell.corners[1] + cell.corners[2] + cell.corners[3]) * 0.25f;
}

// The paths meet in the middle of the cell, or, before the church door, a little way out
// from it, so the way from the door runs straight.
glm::vec2 PathsMeet(const LayoutCell& cell)
{
    const glm::vec2 middle = Middle(cell);
    for (const std::vector<LayoutSegment>& side : cell.sides) {
        for (const LayoutSegment& segment : side) {
            if (segment.target != kDoorCell)
                continue;
            const glm::vec2 door = (segment.from + segment.to) * 0.5f;
            const glm::vec2 along = glm::normalize(segment.to - segment.from);
            glm::vec2 inward(-along.y, along.x);
            if (glm::dot(middle - door, inward) < 0.0f)
                inward = -inward;
            return door + inward * std::min(kDoorWalk, glm::dot(middle - door, inward));
        }
    }
    return middle;
}

std::vector<Path> PathsOf(const LayoutCell& cell)
{
    const glm::vec2 meet = PathsMeet(cell);
    std::vector<Path> paths;
    for (const std::vector<LayoutSegment>& side : cell.sides) {
        for (const LayoutSegment& segment : side) {
            if (segment.target < 0)
                continue;
            const float length = glm::length(segment.to - segment.from);
            const float width = std::min(kPathWidth, 0.8f * length);
            paths.push_back({(segment.from + segment.to) * 0.5f, meet, 0.5f * width,
                             (segment.to - segment.from) / length, 0.5f * length, segment.target == kDoorCell});
        }
    }
    return paths;
}

bool NearPath(const std::vector<Path>& paths, const glm::vec2& p)
{
    for (const Path& path : paths) {
        if (DistanceToSegment(p, path.from, path.to) < path.halfWidth + kPathClear)
            return true;
    }
    return false;
}

// Keeps the part of a convex polygon inside the cell.
std::vector<glm::vec2> ClipToCell(std::vector<glm::vec2> polygon, const LayoutCell& cell)
{
    const glm::vec2 centre = Middle(cell);
    for (int k = 0; k < 4 && !polygon.empty(); ++k) {
        const glm::vec2 a = cell.corners[k];
        const glm::vec2 b = cell.corners[(k + 1) % 4];
        glm::vec2 inward(a.y - b.y, b.x - a.x);
        if (glm::dot(centre - a, inward) < 0.0f)
            inward = -inward;
        std::vector<glm::vec2> kept;
        for (std::size_t i = 0; i < polygon.size(); ++i) {
            const glm::vec2& p = polygon[i];
            const glm::vec2& q = polygon[(i + 1) % polygon.size()];
            const float dp = glm::dot(p - a, inward);
            const float dq = glm::dot(q - a, inward);
            if (dp >= 0.0f)
                kept.push_back(p);
            if ((dp >= 0.0f) != (dq >= 0.0f))
                kept.push_back(p + (q - p) * (dp / (dp - dq)));
        }
        polygon = kept;
    }
    return polygon;
}

// Gravel laid a little above the grass, so the two never fight for the same depth.
void AddPaths(MeshBuilder& b, const LayoutCell& cell, const std::vector<Path>& paths)
{
    const float top = 0.06f;
    for (const Path& path : paths) {
        const glm::vec2 d = glm::normalize(path.to - path.from);
        const glm::vec2 n(-d.y, d.x);
        const glm::vec2 end = path.to + d * path.halfWidth;
        const std::vector<glm::vec2> strip = ClipToCell({path.from - n * path.halfWidth, end - n * path.halfWidth,
                                                         end + n * path.halfWidth, path.from + n * path.halfWidth},
                                                        cell);
        if (strip.size() < 3)
            continue;
        std::vector<glm::vec3> points;
        for (const glm::vec2& p : strip)
            points.emplace_back(p.x, top, p.y);
        b.AddFace(Surface::Gravel, points, {0.0f, 1.0f, 0.0f}, 5.0f);
    }
}

}  // namespace

void AddAvenue(MeshBuilder& b, const LevelLayout& layout, int cellIndex)
{
    const LayoutCell& cell = layout.Cell(cellIndex);
    const glm::vec2 centre = Middle(cell);
    for (int k = 0; k < 4; ++k) {
        const glm::vec2 a = cell.corners[k];
        const glm::vec2 c = cell.corners[(k + 1) % 4];
        const float length = glm::length(c - a);
        if (length < kLongPath)
            continue;
        const glm::vec2 d = (c - a) / length;
        glm::vec2 inward(-d.y, d.x);
        if (glm::dot(centre - a, inward) < 0.0f)
            inward = -inward;
        for (float along = 0.5f * kLongPathStep; along < length - 0.5f * kLongPathStep; along += kLongPathStep) {
            const glm::vec2 p = a + d * along + inward * 2.5f;
            if (!NearModel(p) && layout.DepthInside(cellIndex, p) > 2.0f)
                AddCypress(b, p, 0.9f);
        }
    }
}

void AddYard(MeshBuilder& b, const LevelLayout& layout, int cellIndex)
{
    const LayoutCell& cell = layout.Cell(cellIndex);
    const TileableNoise noise(static_cast<std::uint32_t>(1000 + cellIndex));
    glm::vec2 lo(1e30f);
    glm::vec2 hi(-1e30f);
    for (const glm::vec2& corner : cell.corners) {
        lo = glm::min(lo, corner);
        hi = glm::max(hi, corner);
    }
    const float area = 0.5f *
        std::fabs((cell.corners[2].x - cell.corners[0].x) * (cell.corners[3].y - cell.corners[1].y) -
                  (cell.corners[3].x - cell.corners[1].x) * (cell.corners[2].y - cell.corners[0].y));
    const int most = std::min(kMostGraves, static_cast<int>(area / kAreaPerGrave));
    const std::vector<Path> paths = PathsOf(cell);
    AddPaths(b, cell, paths);
    // Every free place on a grid of rows, then as many as the cell takes, spread over all of it.
    struct Place {
        glm::vec2 at;
        int row;
        int column;
    };
    std::vector<Place> free;
    int row = 0;
    for (float z = lo.y + kMargin; z <= hi.y - kMargin; z += kRowStep, ++row) {
        int column = 0;
        for (float x = lo.x + kMargin; x <= hi.x - kMargin; x += kColumnStep, ++column) {
            const glm::vec2 p(x + 1.6f * (noise.Hash(row, column, 2) - 0.5f), z);
            if (layout.DepthInside(cellIndex, p) >= kMargin && !NearOpening(cell, p, kOpeningClear) && !NearModel(p) &&
                !NearPath(paths, p))
                free.push_back({p, row, column});
        }
    }
    const std::size_t count = std::min(free.size(), static_cast<std::size_t>(most));
    for (std::size_t i = 0; i < count; ++i) {
        const Place& place = free[i * free.size() / count];
        const Surface surface = noise.Hash(place.row, place.column, 3) < 0.5f ? Surface::Stone : Surface::Marble;
        const float kind = noise.Hash(place.row, place.column, 4);
        if (kind < 0.5f) {
            AddHeadstone(b, surface, place.at, 1.2f + 0.4f * noise.Hash(place.row, place.column, 5),
                         1.3f + 0.5f * noise.Hash(place.row, place.column, 6));
        } else if (kind < 0.75f) {
            AddStoneCross(b, surface, place.at);
        } else {
            AddGraveSlab(b, surface, place.at);
        }
    }
    // A pair of cypresses where the way from the church door comes in, and a cross where it
    // meets the other paths.
    for (const Path& path : paths) {
        if (!path.toChurch)
            continue;
        AddCalvary(b, path.to);
        glm::vec2 inward(-path.along.y, path.along.x);
        if (glm::dot(path.to - path.from, inward) < 0.0f)
            inward = -inward;
        for (const float side : {-1.0f, 1.0f}) {
            const glm::vec2 p = path.from + inward * 5.0f + path.along * (side * (path.openingHalf + 4.0f));
            if (layout.DepthInside(cellIndex, p) > 2.0f && !NearModel(p))
                AddCypress(b, p, 1.1f);
        }
    }
    // Cypresses in the corners where two walls meet.
    int trees = 0;
    for (int corner = 0; corner < 4 && trees < 2; ++corner) {
        const glm::vec2 c = cell.corners[corner];
        const glm::vec2 centre = (cell.corners[0] + cell.corners[1] + cell.corners[2] + cell.corners[3]) * 0.25f;
        const glm::vec2 p = c + glm::normalize(centre - c) * 4.5f;
        if (NearOpening(cell, p, kOpeningClear) || NearModel(p) || NearPath(paths, p) ||
            layout.DepthInside(cellIndex, p) < 2.0f)
            continue;
        AddCypress(b, p, 0.9f + 0.3f * noise.Hash(corner, 0, 7));
        ++trees;
    }
}
