#pragma once

#include "tools/contentgen/Surface.h"

#include <cstdint>
#include <glm/vec2.hpp>
#include <glm/vec3.hpp>
#include <string>
#include <vector>

struct ContentVertex {
    glm::vec3 position;
    glm::vec3 normal;
    glm::vec2 uv;
};

struct ContentFace {
    std::uint32_t index[3];
    int material;
};

// One subset of a mesh: a surface seen at one shade level, with its texture file.
struct ContentMaterial {
    Surface surface;
    int shade;
    std::string textureFile;
};

// A triangle mesh in world coordinates, one material per face.
struct ContentMesh {
    std::vector<ContentVertex> vertices;
    std::vector<ContentFace> faces;
    std::vector<ContentMaterial> materials;
};
