#pragma once

#include <string>

// The materials the churchyard is built of; each has one procedural texture.
enum class Surface {
    Stone,
    MossyWall,
    Grass,
    Gravel,
    RoofTiles,
    Wood,
    Marble,
    Bronze,
    Iron,
    StainedGlass,
    Foliage,
    Sky
};

constexpr int kSurfaceCount = 12;

// File stem of the surface's texture ("piedra" for Stone): Spanish, like the model names.
std::string SurfaceStem(Surface surface);

// Whether faces of this surface are darkened by their angle to the sun.
bool SurfaceTakesShade(Surface surface);
