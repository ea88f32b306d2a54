#pragma once

#include "tools/contentgen/MeshBuilder.h"

// A round-headed opening through a wall: piers either side, the arch's soffit, and the wall
// above the arch up to `top`. The opening stands on the ground at `centre`.
struct Archway {
    glm::vec3 centre;  // middle of the opening and of the wall's thickness, at its foot
    glm::vec3 across;  // unit, horizontal, along the opening's width
    glm::vec3 through;  // unit, horizontal, through the wall
    float halfWidth;  // of the opening; also the arch's radius
    float springing;  // height where the arch starts, above `centre`
    float top;  // height of the wall's top, above `centre`
    float halfDepth;  // half the wall's thickness
    float pierWidth;  // width of the wall either side of the opening (0: no piers)
};

void AddArchway(MeshBuilder& builder, Surface surface, const Archway& arch, int segments, float tile);

// A moulding round an arch: a band from radius `inner` to `outer` over the arch and down its
// jambs to the ground, `halfDepth` either side of the arch's centre line.
void AddArchRing(MeshBuilder& builder, Surface surface, const Archway& arch, float inner, float outer, int segments,
                 float tile);

// The outline of a round-headed window or panel in the plane spanned by `across` and up: a
// convex polygon from the bottom corners up to the crown.
std::vector<glm::vec3> RoundHeadedOutline(const glm::vec3& bottomCentre, const glm::vec3& across, float halfWidth,
                                          float springing, int segments);
