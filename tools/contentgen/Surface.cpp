#include "tools/contentgen/Surface.h"

std::string SurfaceStem(Surface surface)
{
    switch (surface) {
    case Surface::Stone: return "piedra";
    case Surface::MossyWall: return "muro_musgo";
    case Surface::Grass: return "cesped";
    case Surface::Gravel: return "grava";
    case Surface::RoofTiles: return "tejas";
    case Surface::Wood: return "madera";
    case Surface::Marble: return "marmol";
    case Surface::Bronze: return "bronce";
    case Surface::Iron: return "hierro";
    case Surface::StainedGlass: return "vidriera";
    case Surface::Foliage: return "follaje";
    case Surface::Sky: return "cielo";
    }
    return "piedra";
}

bool SurfaceTakesShade(Surface surface)
{
    // Coloured glass glows the same from every side.
    return surface != Surface::Sky && surface != Surface::StainedGlass;
}
