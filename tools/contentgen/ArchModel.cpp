#include "tools/contentgen/ModelBuilders.h"

#include "tools/contentgen/Archway.h"
#include "tools/contentgen/LevelLayout.h"
#include "tools/contentgen/ModelSetEntry.h"

#include <cmath>

// A memorial arch over the opening of cell 38's east side, the one level with the arch's
// placement: its piers stand on the walls either side, so the walk passes beneath it.
namespace {

constexpr int kArchWalk = 38;
constexpr int kEastSide = 2;

}  // namespace

MeshBuilder BuildArch(const LevelLayout& layout)
{
    const glm::vec3 at = ModelSet()[kArchModel].translation;
    const LayoutCell& cell = layout.Cell(kArchWalk);
    // The opening of the east side nearest the placement.
    LayoutSegment opening = cell.sides[kEastSide].front();
    float best = 1e30f;
    for (const LayoutSegment& segment : cell.sides[kEastSide]) {
        const float distance = std::fabs(0.5f * (segment.from.y + segment.to.y) - at.z);
        if (segment.target >= 0 && distance < best) {
            best = distance;
            opening = segment;
        }
    }
    const float x = 0.5f * (opening.from.x + opening.to.x);
    const float z = 0.5f * (opening.from.y + opening.to.y);
    const float half = 0.5f * std::fabs(opening.from.y - opening.to.y);
    const float pier = 3.5f;
    const float springing = 9.0f;
    const float top = springing + half + 3.0f;
    const float depth = 2.0f;
    MeshBuilder b;
    AddArchway(b, Surface::Stone, {{x, 0.0f, z}, {0, 0, 1}, {1, 0, 0}, half, springing, top, depth, pier}, 16, 4.0f);
    const float reach = half + pier;
    // Plinths, imposts, cornice and attic with a bronze plaque facing the walk.
    for (const float side : {-1.0f, 1.0f}) {
        const float z0 = z + side * half;
        const float z1 = z + side * reach;
        b.AddBox(Surface::Stone, {x - depth - 0.3f, 0.0f, std::min(z0, z1) - 0.3f * (side > 0 ? 0.0f : 1.0f)},
                 {x + depth + 0.3f, 1.2f, std::max(z0, z1) + 0.3f * (side > 0 ? 1.0f : 0.0f)}, 3.0f, 1);
        b.AddBox(Surface::Stone, {x - depth - 0.25f, springing - 0.6f, std::min(z0, z1)},
                 {x + depth + 0.25f, springing, std::max(z0, z1)}, 3.0f);
    }
    b.AddBox(Surface::Stone, {x - depth - 0.5f, top, z - reach - 0.5f},
             {x + depth + 0.5f, top + 1.0f, z + reach + 0.5f}, 4.0f);
    b.AddBox(Surface::Stone, {x - depth, top + 1.0f, z - reach + 1.0f}, {x + depth, top + 4.0f, z + reach - 1.0f},
             4.0f);
    b.AddBox(Surface::Stone, {x - depth - 0.3f, top + 4.0f, z - reach + 0.7f},
             {x + depth + 0.3f, top + 4.6f, z + reach - 0.7f}, 4.0f);
    b.AddBox(Surface::Bronze, {x - depth - 0.08f, top + 1.6f, z - 5.0f}, {x - depth, top + 3.4f, z + 5.0f}, 2.0f, 1);
    b.AddBox(Surface::Bronze, {x + depth, top + 1.6f, z - 5.0f}, {x + depth + 0.08f, top + 3.4f, z + 5.0f}, 2.0f, 1);
    return b;
}
