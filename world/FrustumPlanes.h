#pragma once

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

#include <array>

// A plane a·x + b·y + c·z + d = 0; points with a positive value are on its inner side.
struct Plane {
    float a;
    float b;
    float c;
    float d;
};

// Right, left, bottom, top, far, near, each normalised so that (a, b, c) has length 1.
using PlaneTable = std::array<Plane, 6>;

// The planes of the view frustum of view × projection (matrices as GraphicsDevice takes
// them; the near plane is the w + z >= 0 one, about halfway between the eye and the true
// near plane).
PlaneTable ExtractPlanes(const glm::mat4& view, const glm::mat4& projection);

// False when all eight corners of the box lie on the outer side of (or on) one plane.
bool BoxTouchesFrustum(const PlaneTable& planes, const glm::vec3& boxMin, const glm::vec3& boxMax);

// The planes of the frame being drawn: the renderer rewrites them before any model is drawn.
PlaneTable& CurrentFrustumPlanes();
