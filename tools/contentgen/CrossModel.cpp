#include "tools/contentgen/ModelBuilders.h"

#include "tools/contentgen/ModelSetEntry.h"

// A stone wayside cross on a stepped base. The three placements share the file, so the cross is
// built around the first and comes out the same in model space for all of them.
MeshBuilder BuildCross()
{
    const glm::vec3 at = ModelSet()[kFirstCrossModel].translation;
    const float x = at.x;
    const float z = at.z;
    MeshBuilder b;
    b.AddBox(Surface::Stone, {x - 1.5f, 0.0f, z - 1.5f}, {x + 1.5f, 0.45f, z + 1.5f}, 8.0f, 1);
    b.AddBox(Surface::Stone, {x - 1.0f, 0.45f, z - 1.0f}, {x + 1.0f, 0.9f, z + 1.0f}, 8.0f, 1);
    b.AddLoft(Surface::Stone, {{x - 0.6f, z - 0.6f}, {x + 0.6f, z - 0.6f}, {x + 0.6f, z + 0.6f}, {x - 0.6f, z + 0.6f}},
              0.9f, {{x - 0.4f, z - 0.4f}, {x + 0.4f, z - 0.4f}, {x + 0.4f, z + 0.4f}, {x - 0.4f, z + 0.4f}}, 1.6f,
              8.0f, false);
    b.AddBox(Surface::Stone, {x - 0.28f, 1.6f, z - 0.28f}, {x + 0.28f, 6.6f, z + 0.28f}, 8.0f, 1);
    b.AddBox(Surface::Stone, {x - 1.3f, 4.7f, z - 0.28f}, {x - 0.28f, 5.25f, z + 0.28f}, 8.0f);
    b.AddBox(Surface::Stone, {x + 0.28f, 4.7f, z - 0.28f}, {x + 1.3f, 5.25f, z + 0.28f}, 8.0f);
    return b;
}
