#include "tools/contentgen/ModelBuilders.h"

#include "tools/contentgen/PortableMath.h"
#include "tools/contentgen/WallStyle.h"

// The churchyard's north gate, closed: two stone piers with ball finials and a wrought-iron
// double gate, where the wall leaves a gap for it, and the lane outside running off into the
// mist.
MeshBuilder BuildGate(const LevelLayout&)
{
    const BuildingZone& gap = GateZone();
    const float west = gap.minimum.x;
    const float east = gap.maximum.x;
    const float line = gap.minimum.y;  // the wall's side line
    const float z = line + 1.875f;  // middle of the wall
    const float pier = 2.6f;
    const float pierHeight = 8.5f;
    MeshBuilder b;
    for (const float side : {-1.0f, 1.0f}) {
        const float inner = side < 0.0f ? west : east;
        const float outer = inner + side * pier;
        const float x0 = std::min(inner, outer);
        const float x1 = std::max(inner, outer);
        b.AddBox(Surface::Stone, {x0, 0.0f, z - 1.4f}, {x1, pierHeight, z + 1.4f}, 3.0f, 1);
        b.AddBox(Surface::Stone, {x0 - 0.3f, pierHeight, z - 1.7f}, {x1 + 0.3f, pierHeight + 0.6f, z + 1.7f}, 3.0f);
        b.AddEllipsoid(Surface::Stone, {0.5f * (x0 + x1), pierHeight + 1.5f, z}, {0.9f, 0.9f, 0.9f}, 10, 6, 3.0f);
    }
    // Bars rising to an arched top rail, with spear heads.
    const int bars = 15;
    const float width = east - west;
    for (int i = 0; i <= bars; ++i) {
        const float x = west + 0.25f + (width - 0.5f) * i / bars;
        const float t = (x - 0.5f * (west + east)) / (0.5f * width);
        const float height = 6.2f + 1.4f * static_cast<float>(PortableCos(t * kPi / 2.0));
        b.AddBox(Surface::Iron, {x - 0.07f, 0.2f, z - 0.07f}, {x + 0.07f, height, z + 0.07f}, 1.0f, 3);
        b.AddPyramid(Surface::Iron, {x - 0.16f, z - 0.16f}, {x + 0.16f, z + 0.16f}, height, 0.55f, 1.0f);
    }
    for (const float height : {0.6f, 3.2f, 5.8f})
        b.AddBox(Surface::Iron, {west, height, z - 0.1f}, {east, height + 0.22f, z + 0.1f}, 1.0f);
    b.AddBox(Surface::Iron, {0.5f * (west + east) - 0.08f, 0.2f, z - 0.12f},
             {0.5f * (west + east) + 0.08f, 7.6f, z + 0.12f}, 1.0f);
    // Outside: a gravel lane between grass verges, out to the edge of the map.
    const float far = 490.0f;
    const float laneWest = west + 1.0f;
    const float laneEast = east - 1.0f;
    b.AddFace(Surface::Gravel,
              {{laneWest, 0.0f, line}, {laneEast, 0.0f, line}, {laneEast, 0.0f, far}, {laneWest, 0.0f, far}}, {0, 1, 0},
              5.0f);
    b.AddFace(Surface::Grass,
              {{west - 12.0f, -0.02f, line + 2.5f},
               {east + 12.0f, -0.02f, line + 2.5f},
               {east + 12.0f, -0.02f, far},
               {west - 12.0f, -0.02f, far}},
              {0, 1, 0}, 8.0f);
    return b;
}
