#pragma once

#include <glm/vec3.hpp>

// Where a model file stands in the churchyard: world = scale * model + translation, no rotation.
struct ModelPlacement {
    const char* file;  // content path, folders with backslashes
    float scale;
    glm::vec3 translation;
    const char* progressText;  // shown once the model is loaded; null: no new text
};

constexpr int kModelSetSize = 23;

// The models in load order; the index is the number the level map's draw lists use.
extern const ModelPlacement kModelSet[kModelSetSize];
