#include "tools/contentgen/SunShading.h"

#include <glm/geometric.hpp>

namespace {

const glm::vec3 kTowardsSun = glm::normalize(glm::vec3(-0.45f, 0.8f, 0.15f));

}  // namespace

int ShadeLevel(const glm::vec3& normal)
{
    const float light = glm::dot(normal, kTowardsSun);
    if (light > 0.45f)
        return 0;
    if (light > 0.15f)
        return 1;
    if (light > -0.3f)
        return 2;
    return 3;
}

double ShadeFactor(int level)
{
    static const double factors[kShadeLevels] = {1.0, 0.82, 0.66, 0.52};
    return factors[level];
}

std::string ShadedTextureFile(Surface surface, int level)
{
    if (level == 0 || !SurfaceTakesShade(surface))
        return SurfaceStem(surface) + ".png";
    return SurfaceStem(surface) + "_" + std::to_string(level) + ".png";
}
