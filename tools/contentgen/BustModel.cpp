#include "tools/contentgen/ModelBuilders.h"

#include "tools/contentgen/ModelSetEntry.h"

// A bronze bust of a bearded worthy on a marble pedestal in the garden behind the church,
// looking north (+z) towards it.
MeshBuilder BuildBust()
{
    const glm::vec3 at = ModelSet()[kBustModel].translation;
    const float x = at.x;
    const float z = at.z;
    const float floor = 0.0f;
    MeshBuilder b;
    b.AddBox(Surface::Marble, {x - 1.1f, floor, z - 1.1f}, {x + 1.1f, floor + 0.35f, z + 1.1f}, 3.0f);
    b.AddLoft(Surface::Marble, RegularPolygon(x, z, 1.05f, 4, 0.7853981633974483), floor + 0.35f,
              RegularPolygon(x, z, 0.95f, 4, 0.7853981633974483), floor + 2.2f, 3.0f, false);
    b.AddBox(Surface::Marble, {x - 0.95f, floor + 2.2f, z - 0.95f}, {x + 0.95f, floor + 2.5f, z + 0.95f}, 3.0f);

    const float top = floor + 2.5f;
    std::vector<glm::vec2> chestBottom;
    std::vector<glm::vec2> chestTop;
    for (const glm::vec2& p : RegularPolygon(0.0f, 0.0f, 1.0f, 12, 0.0))
        chestBottom.emplace_back(x + 0.75f * p.x, z + 0.42f * p.y);
    for (const glm::vec2& p : RegularPolygon(0.0f, 0.0f, 1.0f, 12, 0.0))
        chestTop.emplace_back(x + 0.9f * p.x, z + 0.48f * p.y);
    b.AddLoft(Surface::Bronze, chestBottom, top, chestTop, top + 0.8f, 1.5f, false, true);
    b.AddEllipsoid(Surface::Bronze, {x, top + 0.8f, z}, {0.9f, 0.32f, 0.48f}, 12, 4, 1.5f);
    b.AddCylinder(Surface::Bronze, {x, top + 0.95f, z}, 0.24f, 0.22f, 0.5f, 10, 1.5f, false);
    const glm::vec3 head(x, top + 1.75f, z + 0.04f);
    b.AddEllipsoid(Surface::Bronze, head, {0.34f, 0.44f, 0.4f}, 12, 8, 1.5f);
    // Beard and nose on the face, which looks north into the nave.
    b.AddEllipsoid(Surface::Bronze, head + glm::vec3(0.0f, -0.3f, 0.22f), {0.26f, 0.24f, 0.2f}, 10, 5, 1.5f);
    b.AddLoft(Surface::Bronze, {{x - 0.06f, head.z + 0.36f}, {x + 0.06f, head.z + 0.36f}, {x, head.z + 0.47f}},
              head.y - 0.1f, {{x - 0.03f, head.z + 0.36f}, {x + 0.03f, head.z + 0.36f}, {x, head.z + 0.39f}},
              head.y + 0.12f, 1.5f);
    return b;
}
