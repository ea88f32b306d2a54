// A ".x" model file as any bytes, loaded through the model class onto the recording device:
// either it is refused or it yields a mesh whose subsets and indices stay inside it.
#include "FuzzSupport.h"

#include "tests/support/world/RecordingDevice.h"
#include "world/CModel.h"

#include <glm/mat4x4.hpp>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::EnterTemporaryFolder();
    fuzz::SilenceMessages();
    std::filesystem::create_directory("modelos");
    std::filesystem::create_directory("texturas");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::WriteFile("modelos/fuzz.x", std::string(reinterpret_cast<const char*>(data), size));
    RecordingDevice device;
    CModel model(device, "modelos\\fuzz.x", glm::mat4(1.0f));
    if (!model.HasMesh())
        return 0;

    const MeshData& mesh = model.MeshContents();
    fuzz::Require(mesh.subsets.size() == mesh.materials.size(), "one subset per material");
    fuzz::Require(model.Materials().size() == model.Textures().size(), "one texture slot per material");
    fuzz::Require(mesh.indices.size() % 3 == 0, "whole triangles");
    for (std::uint32_t index : mesh.indices)
        fuzz::Require(index < mesh.vertices.size(), "indices name vertices");
    for (const MeshSubset& subset : mesh.subsets)
        fuzz::Require(subset.firstIndex <= mesh.indices.size() &&
                          subset.indexCount <= mesh.indices.size() - subset.firstIndex,
                      "subsets lie inside the index list");
    model.Draw();
    return 0;
}
