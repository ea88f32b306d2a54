#include "world/MeshBytes.h"

#include <cstdint>
#include <cstring>
#include <type_traits>

namespace {

template <class T>
void Put(std::string& bytes, const T* items, std::size_t count)
{
    static_assert(std::is_trivially_copyable_v<T>);
    if (count > 0)
        bytes.append(reinterpret_cast<const char*>(items), count * sizeof(T));
}

void PutCount(std::string& bytes, std::size_t count)
{
    const std::uint64_t value = count;
    Put(bytes, &value, 1);
}

class ByteReader {
public:
    explicit ByteReader(const std::string& bytes) : m_bytes(bytes) {}

    template <class T>
    bool Take(T* items, std::uint64_t count)
    {
        static_assert(std::is_trivially_copyable_v<T>);
        if (count > (m_bytes.size() - m_at) / sizeof(T))
            return false;
        if (count == 0)
            return true;
        std::memcpy(items, m_bytes.data() + m_at, count * sizeof(T));
        m_at += count * sizeof(T);
        return true;
    }

    // A count of items of `itemSize` bytes that the rest of the bytes can hold.
    bool Count(std::uint64_t& count, std::size_t itemSize)
    {
        return Take(&count, 1) && count <= (m_bytes.size() - m_at) / itemSize;
    }

    template <class T>
    bool TakeVector(std::vector<T>& items)
    {
        std::uint64_t count = 0;
        if (!Count(count, sizeof(T)))
            return false;
        items.resize(count);
        return Take(items.data(), count);
    }

    bool AtEnd() const { return m_at == m_bytes.size(); }

private:
    const std::string& m_bytes;
    std::size_t m_at = 0;
};

bool Consistent(const MeshData& mesh)
{
    if (mesh.subsets.size() != mesh.materials.size())
        return false;
    for (const std::uint32_t index : mesh.indices) {
        if (index >= mesh.vertices.size())
            return false;
    }
    for (const MeshSubset& subset : mesh.subsets) {
        if (subset.firstIndex > mesh.indices.size() || subset.indexCount > mesh.indices.size() - subset.firstIndex)
            return false;
    }
    return true;
}

}  // namespace

std::string EncodeMesh(const MeshData& mesh)
{
    std::string bytes;
    PutCount(bytes, mesh.vertices.size());
    Put(bytes, mesh.vertices.data(), mesh.vertices.size());
    PutCount(bytes, mesh.indices.size());
    Put(bytes, mesh.indices.data(), mesh.indices.size());
    PutCount(bytes, mesh.subsets.size());
    Put(bytes, mesh.subsets.data(), mesh.subsets.size());
    PutCount(bytes, mesh.materials.size());
    for (const MeshMaterial& material : mesh.materials) {
        Put(bytes, &material.material, 1);
        PutCount(bytes, material.textureFile.size());
        bytes += material.textureFile;
    }
    return bytes;
}

bool DecodeMesh(const std::string& bytes, MeshData& mesh)
{
    mesh = MeshData{};
    ByteReader reader(bytes);
    std::uint64_t materialCount = 0;
    bool whole = reader.TakeVector(mesh.vertices) && reader.TakeVector(mesh.indices) &&
        reader.TakeVector(mesh.subsets) && reader.Count(materialCount, sizeof(Material) + sizeof(std::uint64_t));
    for (std::uint64_t i = 0; whole && i < materialCount; ++i) {
        MeshMaterial material{};
        std::uint64_t nameLength = 0;
        whole = reader.Take(&material.material, 1) && reader.Count(nameLength, 1);
        if (whole) {
            material.textureFile.resize(nameLength);
            whole = reader.Take(material.textureFile.data(), nameLength);
        }
        mesh.materials.push_back(std::move(material));
    }
    if (whole && reader.AtEnd() && Consistent(mesh))
        return true;
    mesh = MeshData{};
    return false;
}
