#pragma once

#include "world/MeshData.h"

#include <string>

// A mesh as bytes, the form in which the model-reading process hands it over: the counts, the
// arrays as they lie in memory, then each material's texture name. Read back only by this
// program on the same machine.
std::string EncodeMesh(const MeshData& mesh);
// False (and an empty mesh) unless the bytes are one whole mesh with one subset per material,
// subsets inside the index list and indices naming its vertices.
bool DecodeMesh(const std::string& bytes, MeshData& mesh);
