#pragma once

#include "tools/contentgen/ContentMesh.h"

#include <string>
#include <vector>

// A model of the model set, built in world coordinates; `index` is its first placement.
struct BuiltModel {
    int index;
    ContentMesh mesh;
};

class LevelLayout;

// Every model file of the model set, once each, in load order of their first placement.
std::vector<BuiltModel> BuildModels(const LevelLayout& layout);

// The whole model set in world coordinates, one mesh per placement in load order (a file
// placed several times is moved to each of its places).
std::vector<ContentMesh> PlaceModels(const std::vector<BuiltModel>& models);

// Writes the churchyard's run-time content under `folder`: modelos/*.x, texturas/*.png and the
// title picture "intro". The same call always writes the same bytes. Returns the written paths
// relative to `folder`, sorted; on a write failure returns an empty list and sets `error`.
std::vector<std::string> GenerateContent(const std::string& folder, std::string& error);
