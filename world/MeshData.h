#pragma once

#include "world/ColorValue.h"

#include <cstdint>
#include <string>
#include <vector>

// Surface colours of one mesh subset.
struct Material {
    ColorValue diffuse;
    ColorValue ambient;
    ColorValue specular;
    ColorValue emissive;
    float power;
};

// One vertex of a mesh or of the intro quad: position, normal and texture coordinates,
// 32 bytes. Left-handed world coordinates; texture v grows downwards in the picture.
struct MeshVertex {
    float position[3];
    float normal[3];
    float uv[2];
};

// A run of the index list drawn with one material.
struct MeshSubset {
    std::uint32_t firstIndex;
    std::uint32_t indexCount;
};

// A material as a model file states it, with the name of its texture file (empty for none).
struct MeshMaterial {
    Material material;
    std::string textureFile;
};

// A triangle mesh as read from a model file: subset i is drawn with material i.
struct MeshData {
    std::vector<MeshVertex> vertices;
    std::vector<std::uint32_t> indices;
    std::vector<MeshSubset> subsets;
    std::vector<MeshMaterial> materials;
};
