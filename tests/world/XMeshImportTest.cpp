#include "world/XMeshImport.h"

#include "WorldTestFolder.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

namespace {

std::string DataPath(const std::string& file)
{
    return WorldTestFolder::TestData(file).string();
}

using Corner = std::tuple<float, float, float>;

std::set<Corner> Positions(const MeshData& mesh)
{
    std::set<Corner> positions;
    for (const MeshVertex& v : mesh.vertices)
        positions.insert({v.position[0], v.position[1], v.position[2]});
    return positions;
}

}  // namespace

TEST(XMeshImport, KeepsLeftHandedPositionsAndOneSubsetPerMaterialInOrder)
{
    XMeshImport import;
    ASSERT_TRUE(import.Read(DataPath("modelos/caja.x")));
    const MeshData& mesh = import.Mesh();
    // z stays as written (0 and 3), not mirrored to -3.
    EXPECT_EQ(Positions(mesh), (std::set<Corner>{{0, 0, 0}, {2, 0, 0}, {2, 1, 0}, {0, 1, 0}, {0, 0, 3},
                                   {2, 0, 3}, {2, 1, 3}, {0, 1, 3}}));
    ASSERT_EQ(mesh.materials.size(), 3u);
    ASSERT_EQ(mesh.subsets.size(), 3u);
    // Five quads of stone, one of red, none of the unused green: triangles, in material order.
    EXPECT_EQ(mesh.subsets[0].firstIndex, 0u);
    EXPECT_EQ(mesh.subsets[0].indexCount, 30u);
    EXPECT_EQ(mesh.subsets[1].firstIndex, 30u);
    EXPECT_EQ(mesh.subsets[1].indexCount, 6u);
    EXPECT_EQ(mesh.subsets[2].indexCount, 0u);
    EXPECT_EQ(mesh.indices.size(), 36u);

    EXPECT_EQ(mesh.materials[0].textureFile, "piedra.ppm");
    EXPECT_EQ(mesh.materials[1].textureFile, "");
    const Material& red = mesh.materials[1].material;
    EXPECT_FLOAT_EQ(red.diffuse.r, 1.0f);
    EXPECT_FLOAT_EQ(red.diffuse.g, 0.0f);
    EXPECT_FLOAT_EQ(red.diffuse.a, 1.0f);
    EXPECT_FLOAT_EQ(red.power, 5.0f);
    EXPECT_FLOAT_EQ(red.specular.b, 0.3f);
    EXPECT_FLOAT_EQ(mesh.materials[2].material.diffuse.g, 1.0f);
}

TEST(XMeshImport, KeepsTextureCoordinatesAndWindingAsWritten)
{
    XMeshImport import;
    ASSERT_TRUE(import.Read(DataPath("modelos/marco.x")));
    const MeshData& mesh = import.Mesh();
    ASSERT_EQ(mesh.indices.size(), 3u);
    // The frame moves the triangle by (10, 20, 30); v = 1 stays at the bottom of the picture.
    const MeshVertex& a = mesh.vertices[mesh.indices[0]];
    const MeshVertex& b = mesh.vertices[mesh.indices[1]];
    const MeshVertex& c = mesh.vertices[mesh.indices[2]];
    EXPECT_EQ(Corner(a.position[0], a.position[1], a.position[2]), Corner(10, 20, 30));
    EXPECT_EQ(Corner(b.position[0], b.position[1], b.position[2]), Corner(11, 20, 30));
    EXPECT_EQ(Corner(c.position[0], c.position[1], c.position[2]), Corner(10, 21, 32));
    EXPECT_FLOAT_EQ(a.uv[0], 0.0f);
    EXPECT_FLOAT_EQ(a.uv[1], 1.0f);
    EXPECT_FLOAT_EQ(c.uv[1], 0.0f);
    EXPECT_EQ(mesh.materials[0].textureFile, "bronce_envejecido.ppm");
}

TEST(XMeshImport, OptimizeJoinsIdenticalVerticesAndKeepsEveryTriangle)
{
    XMeshImport import;
    ASSERT_TRUE(import.Read(DataPath("modelos/caja.x")));
    const MeshData before = import.Mesh();
    ASSERT_TRUE(import.Optimize());
    const MeshData& after = import.Mesh();
    EXPECT_LT(after.vertices.size(), before.vertices.size());
    EXPECT_EQ(Positions(after), Positions(before));
    ASSERT_EQ(after.subsets.size(), before.subsets.size());
    for (std::size_t i = 0; i < after.subsets.size(); ++i)
        EXPECT_EQ(after.subsets[i].indexCount, before.subsets[i].indexCount);
    // Same triangles, whatever their order: compare the sets of corner triples per subset.
    auto triangles = [](const MeshData& mesh, const MeshSubset& subset) {
        std::multiset<std::tuple<Corner, Corner, Corner>> result;
        for (std::uint32_t i = subset.firstIndex; i < subset.firstIndex + subset.indexCount; i += 3) {
            Corner corners[3];
            for (int k = 0; k < 3; ++k) {
                const float* p = mesh.vertices[mesh.indices[i + k]].position;
                corners[k] = {p[0], p[1], p[2]};
            }
            // Rotate so the smallest corner comes first: winding is kept, start vertex is not.
            int first = 0;
            for (int k = 1; k < 3; ++k)
                if (corners[k] < corners[first])
                    first = k;
            result.insert({corners[first], corners[(first + 1) % 3], corners[(first + 2) % 3]});
        }
        return result;
    };
    for (std::size_t i = 0; i < after.subsets.size(); ++i)
        EXPECT_EQ(triangles(after, after.subsets[i]), triangles(before, before.subsets[i]));
}

TEST(XMeshImport, MissingOrBrokenFilesAreNotRead)
{
    XMeshImport import;
    EXPECT_FALSE(import.Read(DataPath("modelos/no-existe.x")));
    EXPECT_FALSE(import.Read(DataPath("modelos/roto.x")));
    EXPECT_TRUE(import.Mesh().vertices.empty());
    EXPECT_FALSE(import.Optimize());
}

TEST(XMeshImport, AFileWhoseNormalIndicesLeaveTheMeshIsRefusedWithoutCrashing)
{
    // The box with one normal index of -16: Assimp itself reads far outside the normals.
    XMeshImport import;
    ASSERT_TRUE(import.Read(DataPath("modelos/caja.x")));
    EXPECT_FALSE(import.Read(DataPath("fuzz-regressions/xmodel/indice-negativo.x")));
    EXPECT_TRUE(import.Mesh().vertices.empty());
    EXPECT_FALSE(import.Optimize()) << "nothing is left of the box read before";
    EXPECT_TRUE(import.Read(DataPath("modelos/caja.x")));
}

