#include "tools/contentgen/XFileWriter.h"

#include <charconv>
#include <cmath>

std::string FormatNumber(double value)
{
    char buffer[64];
    const std::to_chars_result result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 4);
    std::string text(buffer, result.ptr);
    while (text.back() == '0')
        text.pop_back();
    if (text.back() == '.')
        text.pop_back();
    if (text == "-0")
        text = "0";
    return text;
}

namespace {

void AppendTriple(std::string& out, double a, double b, double c, bool last)
{
    out += FormatNumber(a) + ";" + FormatNumber(b) + ";" + FormatNumber(c) + (last ? ";;\n" : ";,\n");
}

void AppendFaces(std::string& out, const ContentMesh& mesh, const char* indent)
{
    out += indent + std::to_string(mesh.faces.size()) + ";\n";
    for (std::size_t i = 0; i < mesh.faces.size(); ++i) {
        const ContentFace& face = mesh.faces[i];
        out += indent;
        out += "3;" + std::to_string(face.index[0]) + "," + std::to_string(face.index[1]) + "," +
            std::to_string(face.index[2]);
        out += (i + 1 == mesh.faces.size()) ? ";;\n" : ";,\n";
    }
}

}  // namespace

std::string WriteXFile(const ContentMesh& mesh, const ModelSetEntry& placement, const std::string& meshName)
{
    std::string out = "xof 0303txt 0032\n\nMesh " + meshName + " {\n";
    out += " " + std::to_string(mesh.vertices.size()) + ";\n";
    for (std::size_t i = 0; i < mesh.vertices.size(); ++i) {
        const glm::vec3& p = mesh.vertices[i].position;
        const double s = placement.scale;
        const glm::vec3& t = placement.translation;
        out += " ";
        AppendTriple(out, (static_cast<double>(p.x) - t.x) / s, (static_cast<double>(p.y) - t.y) / s,
                     (static_cast<double>(p.z) - t.z) / s, i + 1 == mesh.vertices.size());
    }
    AppendFaces(out, mesh, " ");

    out += "\n MeshNormals {\n  " + std::to_string(mesh.vertices.size()) + ";\n";
    for (std::size_t i = 0; i < mesh.vertices.size(); ++i) {
        const glm::vec3& n = mesh.vertices[i].normal;
        out += "  ";
        AppendTriple(out, n.x, n.y, n.z, i + 1 == mesh.vertices.size());
    }
    AppendFaces(out, mesh, "  ");
    out += " }\n";

    out += "\n MeshTextureCoords {\n  " + std::to_string(mesh.vertices.size()) + ";\n";
    for (std::size_t i = 0; i < mesh.vertices.size(); ++i) {
        const glm::vec2& uv = mesh.vertices[i].uv;
        out += "  " + FormatNumber(uv.x) + ";" + FormatNumber(uv.y) + (i + 1 == mesh.vertices.size() ? ";;\n" : ";,\n");
    }
    out += " }\n";

    out += "\n MeshMaterialList {\n  " + std::to_string(mesh.materials.size()) + ";\n  " +
        std::to_string(mesh.faces.size()) + ";\n";
    for (std::size_t i = 0; i < mesh.faces.size(); ++i)
        out += "  " + std::to_string(mesh.faces[i].material) + (i + 1 == mesh.faces.size() ? ";\n" : ",\n");
    // White diffuse: with the lighting off the texture shows as it is, and a renderer that
    // does light the scene gets the texture's own colours.
    for (const ContentMaterial& material : mesh.materials) {
        out += "\n  Material {\n";
        out += "   1.0;1.0;1.0;1.0;;\n";
        out += "   0.0;\n";
        out += "   0.0;0.0;0.0;;\n";
        out += "   0.0;0.0;0.0;;\n";
        out += "   TextureFilename {\n    \"" + material.textureFile + "\";\n   }\n";
        out += "  }\n";
    }
    out += " }\n}\n";
    return out;
}
