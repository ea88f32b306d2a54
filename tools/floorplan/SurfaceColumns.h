#pragma once

#include <array>
#include <glm/vec3.hpp>
#include <vector>

using WorldTriangle = std::array<glm::vec3, 3>;

// What can be seen of a surface from afar: over each square of a plan grid (world x and z,
// `gridSize` on a side) the highest point of the surface there. A point higher up in a column
// shows over any wall that a lower one of the same column shows over.
std::vector<glm::vec3> SurfaceColumns(const std::vector<WorldTriangle>& triangles, float gridSize);
