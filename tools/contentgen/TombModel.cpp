#include "tools/contentgen/ModelBuilders.h"

#include "tools/contentgen/ModelSetEntry.h"

// A raised chest tomb of marble on a stone step, with a cross carved in relief on its lid. Its
// placement sits 12 units up; the geometry reaches down to the ground.
MeshBuilder BuildTomb()
{
    const glm::vec3 at = ModelSet()[kTombModel].translation;
    const float x = at.x;
    const float z = at.z;
    MeshBuilder b;
    b.AddBox(Surface::Stone, {x - 2.4f, 0.0f, z - 4.2f}, {x + 2.4f, 0.35f, z + 4.2f}, 3.0f, 1);
    b.AddBox(Surface::Marble, {x - 1.9f, 0.35f, z - 3.7f}, {x + 1.9f, 1.6f, z + 3.7f}, 3.0f, 1);
    b.AddBox(Surface::Marble, {x - 2.15f, 1.6f, z - 3.95f}, {x + 2.15f, 1.8f, z + 3.95f}, 3.0f, 1);
    b.AddLoft(Surface::Marble,
              {{x - 2.15f, z - 3.95f}, {x + 2.15f, z - 3.95f}, {x + 2.15f, z + 3.95f}, {x - 2.15f, z + 3.95f}}, 1.8f,
              {{x - 1.85f, z - 3.65f}, {x + 1.85f, z - 3.65f}, {x + 1.85f, z + 3.65f}, {x - 1.85f, z + 3.65f}}, 2.05f,
              3.0f);
    b.AddBox(Surface::Stone, {x - 0.18f, 2.05f, z - 2.6f}, {x + 0.18f, 2.2f, z + 2.6f}, 1.0f, 1);
    b.AddBox(Surface::Stone, {x - 1.1f, 2.05f, z + 1.0f}, {x + 1.1f, 2.2f, z + 1.36f}, 1.0f, 1);
    // A headstone at the north end.
    b.AddBox(Surface::Marble, {x - 1.5f, 0.35f, z + 4.2f}, {x + 1.5f, 2.8f, z + 4.6f}, 3.0f, 1);
    b.AddLoft(Surface::Marble, {{x - 1.5f, z + 4.2f}, {x + 1.5f, z + 4.2f}, {x + 1.5f, z + 4.6f}, {x - 1.5f, z + 4.6f}},
              2.8f, {{x - 0.2f, z + 4.2f}, {x + 0.2f, z + 4.2f}, {x + 0.2f, z + 4.6f}, {x - 0.2f, z + 4.6f}}, 3.5f,
              3.0f);
    return b;
}
