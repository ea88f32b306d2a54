#pragma once

#include "tools/contentgen/Surface.h"

#include <glm/vec3.hpp>
#include <string>

// The renderer draws with lighting off, so a face shows its texture as it is. To keep solids
// readable, each face instead picks one of a few darkened copies of its texture by its angle
// to a high sun in the west: tops and west faces bright, north faces a little darker, south
// faces darker still and east faces darkest, so every corner shows two different faces.
constexpr int kShadeLevels = 4;

// 0 (full light) to kShadeLevels - 1 (deepest shade) for an outward unit normal.
int ShadeLevel(const glm::vec3& normal);

// Brightness factor of a shade level, 1.0 for level 0.
double ShadeFactor(int level);

// The texture file a face of `surface` at `level` uses: "piedra.png", "piedra_2.png", ...
std::string ShadedTextureFile(Surface surface, int level);
