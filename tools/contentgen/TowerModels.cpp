#include "tools/contentgen/ModelBuilders.h"

#include "tools/contentgen/LevelLayout.h"

#include "tools/contentgen/ModelSetEntry.h"
#include "tools/contentgen/PortableMath.h"
#include "tools/contentgen/WallStyle.h"

#include <algorithm>
#include <glm/geometric.hpp>

namespace {

// Arrow slits: dark iron panels a hair proud of a wall face.
void AddSlit(MeshBuilder& b, const glm::vec3& centre, const glm::vec3& across, const glm::vec3& out)
{
    const glm::vec3 up(0.0f, 1.0f, 0.0f);
    const glm::vec3 c = centre + out * 0.06f;
    b.AddFace(Surface::Iron,
              {c - across * 0.35f - up * 1.4f, c + across * 0.35f - up * 1.4f, c + across * 0.35f + up * 1.4f,
               c - across * 0.35f + up * 1.4f},
              out, 2.0f);
}

}  // namespace

// The square keep at (243, 390): the floor plan walls its foot in, 30 high; this model crowns
// it with corbels, battlements and a pyramid roof, hangs a door at its foot and cuts arrow
// slits in its faces.
MeshBuilder BuildSmallTower(const LevelLayout& layout)
{
    // The keep's faces are the inner faces of the walls round its block of the plan.
    const BuildingZone& zone = SquareTowerZone();
    float west = zone.maximum.x;
    float east = zone.minimum.x;
    float south = zone.maximum.y;
    float north = zone.minimum.y;
    for (const WallRun& run : layout.Walls()) {
        const glm::vec2 face = run.from + run.outward * run.inner;
        const glm::vec2 end = run.to + run.outward * run.inner;
        const glm::vec2 middle = (face + end) * 0.5f;
        if (middle.x < zone.minimum.x || middle.x > zone.maximum.x || middle.y < zone.minimum.y ||
            middle.y > zone.maximum.y)
            continue;
        if (run.outward.x > 0.9f)
            west = std::min(west, face.x);
        if (run.outward.x < -0.9f)
            east = std::max(east, face.x);
        if (run.outward.y > 0.9f)
            south = std::min(south, face.y);
        if (run.outward.y < -0.9f)
            north = std::max(north, face.y);
    }
    const float top = zone.style.height;
    MeshBuilder b;
    b.AddBox(Surface::Stone, {west - 0.4f, top - 1.6f, south - 0.4f}, {east + 0.4f, top - 0.8f, north + 0.4f}, 4.0f);
    b.AddBox(Surface::Stone, {west - 0.9f, top - 0.8f, south - 0.9f}, {east + 0.9f, top + 0.4f, north + 0.9f}, 4.0f);
    // Parapet walls and merlons round the top.
    const float wall = 1.2f;
    const float parapetTop = top + 1.8f;
    const float x0 = west - 0.9f;
    const float x1 = east + 0.9f;
    const float z0 = south - 0.9f;
    const float z1 = north + 0.9f;
    b.AddBox(Surface::Stone, {x0, top + 0.4f, z0}, {x1, parapetTop, z0 + wall}, 4.0f, 1);
    b.AddBox(Surface::Stone, {x0, top + 0.4f, z1 - wall}, {x1, parapetTop, z1}, 4.0f, 1);
    b.AddBox(Surface::Stone, {x0, top + 0.4f, z0 + wall}, {x0 + wall, parapetTop, z1 - wall}, 4.0f, 1);
    b.AddBox(Surface::Stone, {x1 - wall, top + 0.4f, z0 + wall}, {x1, parapetTop, z1 - wall}, 4.0f, 1);
    const int merlons = 8;
    for (int i = 0; i < merlons; ++i) {
        const float t0 = (i + 0.2f) / merlons;
        const float t1 = (i + 0.8f) / merlons;
        const float ax = x0 + (x1 - x0) * t0;
        const float bx = x0 + (x1 - x0) * t1;
        const float az = z0 + (z1 - z0) * t0;
        const float bz = z0 + (z1 - z0) * t1;
        b.AddBox(Surface::Stone, {ax, parapetTop, z0}, {bx, parapetTop + 1.8f, z0 + wall}, 4.0f, 1);
        b.AddBox(Surface::Stone, {ax, parapetTop, z1 - wall}, {bx, parapetTop + 1.8f, z1}, 4.0f, 1);
        b.AddBox(Surface::Stone, {x0, parapetTop, az}, {x0 + wall, parapetTop + 1.8f, bz}, 4.0f, 1);
        b.AddBox(Surface::Stone, {x1 - wall, parapetTop, az}, {x1, parapetTop + 1.8f, bz}, 4.0f, 1);
    }
    b.AddPyramid(Surface::RoofTiles, {west + 2.0f, south + 2.0f}, {east - 2.0f, north - 2.0f}, top + 0.4f, 14.0f, 5.0f);
    // A door at the foot of the south face, towards the churchyard.
    const float doorX = 0.5f * (west + east);
    b.AddBox(Surface::Wood, {doorX - 1.8f, 0.0f, south - 0.35f}, {doorX + 1.8f, 5.5f, south}, 2.0f, 1);
    b.AddBox(Surface::Stone, {doorX - 2.6f, 5.5f, south - 0.5f}, {doorX + 2.6f, 6.4f, south}, 3.0f, 1);
    for (const float side : {-1.0f, 1.0f})
        b.AddBox(Surface::Stone, {doorX + side * 2.2f - 0.4f, 0.0f, south - 0.45f},
                 {doorX + side * 2.2f + 0.4f, 5.5f, south}, 3.0f, 1);
    // Slits in each face, three storeys.
    const float cx = 0.5f * (west + east);
    const float cz = 0.5f * (south + north);
    for (const float height : {9.0f, 17.0f, 24.0f}) {
        for (const float offset : {-8.0f, 0.0f, 8.0f}) {
            AddSlit(b, {cx + offset, height, south}, {1, 0, 0}, {0, 0, -1});
            AddSlit(b, {cx + offset, height, north}, {1, 0, 0}, {0, 0, 1});
            AddSlit(b, {west, height, cz + offset}, {0, 0, 1}, {-1, 0, 0});
            AddSlit(b, {east, height, cz + offset}, {0, 0, 1}, {1, 0, 0});
        }
    }
    return b;
}

// The round watchtower in the north-west corner, free-standing behind the wall of cell 40.
MeshBuilder BuildBigTower(const LevelLayout&)
{
    const glm::vec3 at = ModelSet()[kBigTowerModel].translation;
    const float radius = 6.0f;
    const int sides = 16;
    const float body = 30.0f;
    MeshBuilder b;
    b.AddCylinder(Surface::Stone, {at.x, 0.0f, at.z}, radius + 0.4f, radius, body, sides, 4.0f, false);
    b.AddCylinder(Surface::Stone, {at.x, body, at.z}, radius, radius + 0.8f, 1.4f, sides, 4.0f, true);
    // A ring of merlons, then the conical roof on a short drum.
    const int merlons = 8;
    for (int i = 0; i < merlons; ++i) {
        const double a0 = 2.0 * kPi * (i + 0.15) / merlons;
        const double a1 = 2.0 * kPi * (i + 0.65) / merlons;
        const float r0 = radius - 0.2f;
        const float r1 = radius + 0.8f;
        auto p = [&](double a, float r) {
            return glm::vec2(at.x + r * static_cast<float>(PortableCos(a)),
                             at.z + r * static_cast<float>(PortableSin(a)));
        };
        b.AddPrism(Surface::Stone, {p(a0, r0), p(a1, r0), p(a1, r1), p(a0, r1)}, body + 1.4f, body + 3.2f, 4.0f);
    }
    b.AddCylinder(Surface::Stone, {at.x, body + 1.4f, at.z}, radius - 1.5f, radius - 1.5f, 2.5f, sides, 4.0f, false);
    b.AddCylinder(Surface::RoofTiles, {at.x, body + 3.9f, at.z}, radius - 0.6f, 0.0f, 11.0f, sides, 5.0f, false);
    for (const float height : {8.0f, 16.0f, 23.0f}) {
        for (int i = 0; i < 4; ++i) {
            const double a = kPi * (0.25 + 0.5 * i) + 0.3 * (height / 8.0f);
            const glm::vec3 out(static_cast<float>(PortableCos(a)), 0.0f, static_cast<float>(PortableSin(a)));
            const glm::vec3 across(-out.z, 0.0f, out.x);
            const float r = radius + 0.4f * (1.0f - height / body);
            AddSlit(b, glm::vec3(at.x, height, at.z) + out * r, across, out);
        }
    }
    // A studded door at the foot, facing the churchyard (south).
    const glm::vec3 door(at.x, 0.0f, at.z - radius - 0.3f);
    b.AddBox(Surface::Wood, {door.x - 1.6f, 0.0f, door.z - 0.1f}, {door.x + 1.6f, 5.0f, door.z + 0.5f}, 2.0f, 1);
    b.AddBox(Surface::Stone, {door.x - 2.2f, 5.0f, door.z - 0.2f}, {door.x + 2.2f, 5.8f, door.z + 0.6f}, 2.0f, 1);
    return b;
}
