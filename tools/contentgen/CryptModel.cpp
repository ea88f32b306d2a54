#include "tools/contentgen/ModelBuilders.h"

#include "tools/contentgen/Archway.h"
#include "tools/contentgen/LevelLayout.h"
#include "tools/contentgen/WallStyle.h"

// The crypt: a stone mausoleum whose hall (cell 48) and doorway (cell 47) the floor plan walls
// in. This model adds the arch over the door, the roof and gables, the vault's ceiling, the
// burial niches on its walls and a sarcophagus.
namespace {

constexpr int kHall = 48;
constexpr int kDoorway = 47;

}  // namespace

MeshBuilder BuildCrypt(const LevelLayout& layout)
{
    const LayoutCell& hall = layout.Cell(kHall);
    const LayoutCell& doorway = layout.Cell(kDoorway);
    const float inner = LevelLayout::kInnerOffset;
    const float west = hall.corners[0].x - inner;
    const float east = hall.corners[1].x + inner;
    const float north = hall.corners[0].y + inner;
    const float south = hall.corners[3].y - inner;
    const float front = doorway.corners[0].y - inner;  // outer face of the front wall
    const float outWest = west - 2.5f;
    const float outEast = east + 2.5f;
    const float outSouth = south - 1.3f;
    const float eave = CryptZone().style.height;
    const float cx = 0.5f * (west + east);
    MeshBuilder b;

    // Roof, ridge running north-south, and the two gables.
    const float ridge = eave + 0.6f + 0.45f * (cx - outWest + 1.0f);
    for (const float side : {-1.0f, 1.0f}) {
        const float edge = side < 0.0f ? outWest - 1.0f : outEast + 1.0f;
        b.AddFace(Surface::RoofTiles,
                  {{edge, eave + 0.6f, outSouth - 1.0f},
                   {cx, ridge, outSouth - 1.0f},
                   {cx, ridge, front + 0.8f},
                   {edge, eave + 0.6f, front + 0.8f}},
                  {side * (ridge - eave), cx - outWest, 0.0f}, 5.0f);
    }
    b.AddLoft(Surface::Stone, {{outWest, north}, {outEast, north}, {outEast, front}, {outWest, front}}, eave,
              {{cx, north}, {cx, north}, {cx, front}, {cx, front}}, ridge, 4.0f, false);
    b.AddLoft(Surface::Stone, {{outWest, outSouth}, {outEast, outSouth}, {outEast, south}, {outWest, south}}, eave,
              {{cx, outSouth}, {cx, outSouth}, {cx, south}, {cx, south}}, ridge, 4.0f, false);
    // Raking cornice over the front gable, and a cross on its apex.
    for (const float side : {-1.0f, 1.0f}) {
        const float edge = side < 0.0f ? outWest - 0.6f : outEast + 0.6f;
        b.AddLoft(Surface::Stone, {{edge, front}, {edge, front + 0.6f}, {edge, front + 0.6f}, {edge, front}}, eave,
                  {{cx, front}, {cx, front + 0.6f}, {cx, front + 0.6f}, {cx, front}}, ridge + 0.3f, 4.0f, false);
    }
    b.AddBox(Surface::Stone, {cx - 0.3f, ridge, front - 0.3f}, {cx + 0.3f, ridge + 3.2f, front + 0.3f}, 2.0f);
    b.AddBox(Surface::Stone, {cx - 1.1f, ridge + 1.9f, front - 0.3f}, {cx + 1.1f, ridge + 2.5f, front + 0.3f}, 2.0f);

    // The door: a round arch over the doorway, a bronze name plate above, leaves folded inside.
    const float doorWest = doorway.corners[0].x;
    const float doorEast = doorway.corners[1].x;
    const float doorCentre = 0.5f * (doorWest + doorEast);
    const float doorHalf = 0.5f * (doorEast - doorWest);
    AddArchway(b, Surface::Stone,
               {{doorCentre, 0.0f, 0.5f * (north + front)},
                {1, 0, 0},
                {0, 0, 1},
                doorHalf,
                3.0f,
                eave,
                0.5f * (front - north),
                0.0f},
               10, 4.0f);
    b.AddBox(Surface::Bronze, {doorCentre - 3.5f, eave - 1.2f, front}, {doorCentre + 3.5f, eave - 0.3f, front + 0.12f},
             2.0f, 1);
    for (const float side : {-1.0f, 1.0f}) {
        const float hinge = side < 0.0f ? doorWest : doorEast;
        const float tip = hinge + side * doorHalf;
        b.AddBox(Surface::Bronze, {std::min(hinge, tip), 0.0f, north - 0.35f},
                 {std::max(hinge, tip), 6.0f, north - 0.1f}, 2.0f, 1);
    }

    // Inside: a stone ceiling, rows of burial niches with bronze plates, a sarcophagus.
    const float ceiling = eave - 0.6f;
    b.AddFace(Surface::Stone,
              {{west, ceiling, south}, {east, ceiling, south}, {east, ceiling, north}, {west, ceiling, north}},
              {0, -1, 0}, 4.0f);
    for (int row = 0; row < 3; ++row) {
        const float y0 = 1.0f + row * 2.2f;
        for (float z = south + 2.0f; z + 2.6f < north - 2.0f; z += 3.6f) {
            b.AddBox(Surface::Bronze, {west, y0, z}, {west + 0.08f, y0 + 1.5f, z + 2.6f}, 1.5f, 1);
            b.AddBox(Surface::Bronze, {east - 0.08f, y0, z}, {east, y0 + 1.5f, z + 2.6f}, 1.5f, 1);
        }
        for (float x = west + 2.0f; x + 2.6f < east - 2.0f; x += 3.6f)
            b.AddBox(Surface::Bronze, {x, y0, south}, {x + 2.6f, y0 + 1.5f, south + 0.08f}, 1.5f, 1);
    }
    const float cz = 0.5f * (south + north);
    b.AddBox(Surface::Stone, {cx - 2.6f, 0.0f, cz - 4.8f}, {cx + 2.6f, 0.5f, cz + 4.8f}, 3.0f, 1);
    b.AddBox(Surface::Marble, {cx - 2.0f, 0.5f, cz - 4.2f}, {cx + 2.0f, 2.6f, cz + 4.2f}, 3.0f, 1);
    b.AddLoft(Surface::Marble,
              {{cx - 2.3f, cz - 4.5f}, {cx + 2.3f, cz - 4.5f}, {cx + 2.3f, cz + 4.5f}, {cx - 2.3f, cz + 4.5f}}, 2.6f,
              {{cx - 0.4f, cz - 4.2f}, {cx + 0.4f, cz - 4.2f}, {cx + 0.4f, cz + 4.2f}, {cx - 0.4f, cz + 4.2f}}, 3.4f,
              3.0f);
    return b;
}
