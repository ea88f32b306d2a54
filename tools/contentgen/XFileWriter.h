#pragma once

#include "tools/contentgen/ContentMesh.h"
#include "tools/contentgen/ModelSetEntry.h"

#include <string>

// Writes a world-space mesh as a DirectX text .x file ("xof 0303txt 0032") in the model space
// of its placement: one Mesh with MeshNormals, MeshTextureCoords and a MeshMaterialList whose
// materials name their texture files. Numbers are written with four decimals by this program
// (never through the locale), so the bytes depend on the mesh alone.
std::string WriteXFile(const ContentMesh& mesh, const ModelSetEntry& placement, const std::string& meshName);

// "1.25", "-3", "0.0001": fixed four decimals without trailing zeros; never "-0".
std::string FormatNumber(double value);
