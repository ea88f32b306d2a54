#pragma once

#include <glm/vec3.hpp>
#include <string>
#include <vector>

// Where the renderer puts a model file: world = scale * model + translation, no rotation.
struct ModelSetEntry {
    std::string file;  // name inside modelos/
    float scale;
    glm::vec3 translation;

    glm::vec3 ToModel(const glm::vec3& world) const { return (world - translation) / scale; }
    glm::vec3 ToWorld(const glm::vec3& model) const { return model * scale + translation; }
};

// The renderer's placed models in load order, by file name inside modelos/.
const std::vector<ModelSetEntry>& ModelSet();

// Model indices by role.
enum ModelIndex {
    kSkyModel = 0,
    kBustModel = 1,
    kChurchModel = 2,
    kFirstWallModel = 3,  // paredesA .. paredesG: 3 .. 9
    kWallModelCount = 7,
    kFirstFloorModel = 10,  // sueloC .. sueloF: 10 .. 13
    kFloorModelCount = 4,
    kTombModel = 14,
    kGateModel = 15,
    kFirstCrossModel = 16,  // three placements of cruz.x: 16 .. 18
    kSmallTowerModel = 19,
    kBigTowerModel = 20,
    kArchModel = 21,
    kCryptModel = 22,
    kModelCount = 23
};
