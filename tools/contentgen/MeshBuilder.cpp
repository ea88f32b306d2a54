#include "tools/contentgen/MeshBuilder.h"

#include "tools/contentgen/PortableMath.h"
#include "tools/contentgen/SunShading.h"

#include <algorithm>
#include <cmath>
#include <glm/geometric.hpp>

namespace {

const glm::vec3 kUp(0.0f, 1.0f, 0.0f);

glm::vec3 Centroid(const std::vector<glm::vec3>& points)
{
    glm::vec3 sum(0.0f);
    for (const glm::vec3& p : points)
        sum += p;
    return sum / static_cast<float>(points.size());
}

// Sum of the edge cross products: points towards the viewer who sees the polygon clockwise in
// the left-handed world.
glm::vec3 PolygonNormal(const std::vector<glm::vec3>& points)
{
    const glm::vec3 centre = Centroid(points);
    glm::vec3 sum(0.0f);
    for (std::size_t i = 0; i < points.size(); ++i) {
        const glm::vec3 a = points[i] - centre;
        const glm::vec3 b = points[(i + 1) % points.size()] - centre;
        sum += glm::cross(a, b);
    }
    const float length = glm::length(sum);
    return length > 0.0f ? sum / length : glm::vec3(0.0f);
}

void DropRepeatedPoints(std::vector<glm::vec3>& points, std::vector<glm::vec2>* uvs)
{
    std::vector<glm::vec3> keptPoints;
    std::vector<glm::vec2> keptUvs;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const glm::vec3& next = points[(i + 1) % points.size()];
        if (glm::length(points[i] - next) < 1e-5f)
            continue;
        keptPoints.push_back(points[i]);
        if (uvs)
            keptUvs.push_back((*uvs)[i]);
    }
    points = keptPoints;
    if (uvs)
        *uvs = keptUvs;
}

glm::vec2 FacePlaneUv(const glm::vec3& p, const glm::vec3& normal, float tile)
{
    glm::vec3 tangent(1.0f, 0.0f, 0.0f);
    if (std::fabs(normal.y) < 0.999f)
        tangent = glm::normalize(glm::cross(normal, kUp));
    const glm::vec3 upTheFace = glm::cross(tangent, normal);
    return glm::vec2(glm::dot(p, tangent) / tile, -glm::dot(p, upTheFace) / tile);
}

glm::vec2 Centre(const std::vector<glm::vec2>& footprint)
{
    glm::vec2 sum(0.0f);
    for (const glm::vec2& p : footprint)
        sum += p;
    return sum / static_cast<float>(footprint.size());
}

}  // namespace

std::vector<glm::vec2> RegularPolygon(float cx, float cz, float radius, int sides, double start)
{
    std::vector<glm::vec2> points;
    for (int i = 0; i < sides; ++i) {
        const double angle = start + 2.0 * kPi * i / sides;
        points.emplace_back(cx + radius * static_cast<float>(PortableCos(angle)),
                            cz + radius * static_cast<float>(PortableSin(angle)));
    }
    return points;
}

int MeshBuilder::MaterialFor(Surface surface, int shade)
{
    for (std::size_t i = 0; i < m_mesh.materials.size(); ++i) {
        if (m_mesh.materials[i].surface == surface && m_mesh.materials[i].shade == shade)
            return static_cast<int>(i);
    }
    m_mesh.materials.push_back({surface, shade, ShadedTextureFile(surface, shade)});
    return static_cast<int>(m_mesh.materials.size() - 1);
}

void MeshBuilder::AddFace(Surface surface, std::vector<glm::vec3> points, const glm::vec3& facing, float tile)
{
    DropRepeatedPoints(points, nullptr);
    if (points.size() < 3)
        return;
    glm::vec3 normal = PolygonNormal(points);
    if (glm::dot(normal, facing) < 0.0f) {
        std::reverse(points.begin(), points.end());
        normal = -normal;
    }
    std::vector<glm::vec2> uvs;
    for (const glm::vec3& p : points)
        uvs.push_back(FacePlaneUv(p, normal, tile));
    AddFace(surface, points, uvs, facing);
}

void MeshBuilder::AddFace(Surface surface, std::vector<glm::vec3> points, std::vector<glm::vec2> uvs,
                          const glm::vec3& facing)
{
    DropRepeatedPoints(points, &uvs);
    if (points.size() < 3)
        return;
    glm::vec3 normal = PolygonNormal(points);
    if (normal == glm::vec3(0.0f))
        return;
    if (glm::dot(normal, facing) < 0.0f) {
        std::reverse(points.begin(), points.end());
        std::reverse(uvs.begin(), uvs.end());
        normal = -normal;
    }
    const int material = MaterialFor(surface, SurfaceTakesShade(surface) ? ShadeLevel(normal) : 0);
    const auto first = static_cast<std::uint32_t>(m_mesh.vertices.size());
    for (std::size_t i = 0; i < points.size(); ++i)
        m_mesh.vertices.push_back({points[i], normal, uvs[i]});
    for (std::uint32_t i = 1; i + 1 < points.size(); ++i)
        m_mesh.faces.push_back({{first, first + i, first + i + 1}, material});
}

void MeshBuilder::AddBox(Surface surface, const glm::vec3& lo, const glm::vec3& hi, float tile, unsigned skip)
{
    const std::vector<glm::vec2> footprint = {{lo.x, lo.z}, {hi.x, lo.z}, {hi.x, hi.z}, {lo.x, hi.z}};
    AddPrism(surface, footprint, lo.y, hi.y, tile, (skip & 2U) == 0, (skip & 1U) == 0);
}

void MeshBuilder::AddPrism(Surface surface, const std::vector<glm::vec2>& footprint, float y0, float y1, float tile,
                           bool withTop, bool withBottom)
{
    AddLoft(surface, footprint, y0, footprint, y1, tile, withTop, withBottom);
}

void MeshBuilder::AddLoft(Surface surface, const std::vector<glm::vec2>& bottom, float y0,
                          const std::vector<glm::vec2>& top, float y1, float tile, bool withTop, bool withBottom)
{
    const glm::vec2 axis = (Centre(bottom) + Centre(top)) * 0.5f;
    const std::size_t n = bottom.size();
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t j = (i + 1) % n;
        const std::vector<glm::vec3> quad = {{bottom[i].x, y0, bottom[i].y},
                                             {top[i].x, y1, top[i].y},
                                             {top[j].x, y1, top[j].y},
                                             {bottom[j].x, y0, bottom[j].y}};
        const glm::vec2 mid = (bottom[i] + bottom[j] + top[i] + top[j]) * 0.25f;
        const glm::vec2 out = mid - axis;
        AddFace(surface, quad, glm::vec3(out.x, 0.0f, out.y), tile);
    }
    if (withTop) {
        std::vector<glm::vec3> cap;
        for (const glm::vec2& p : top)
            cap.emplace_back(p.x, y1, p.y);
        AddFace(surface, cap, glm::vec3(0.0f, y1 >= y0 ? 1.0f : -1.0f, 0.0f), tile);
    }
    if (withBottom) {
        std::vector<glm::vec3> cap;
        for (const glm::vec2& p : bottom)
            cap.emplace_back(p.x, y0, p.y);
        AddFace(surface, cap, glm::vec3(0.0f, y1 >= y0 ? -1.0f : 1.0f, 0.0f), tile);
    }
}

void MeshBuilder::AddCylinder(Surface surface, const glm::vec3& base, float radiusBottom, float radiusTop, float height,
                              int segments, float tile, bool withTop)
{
    const double start = kPi / segments;
    std::vector<glm::vec2> bottom = RegularPolygon(base.x, base.z, radiusBottom, segments, start);
    std::vector<glm::vec2> top = RegularPolygon(base.x, base.z, radiusTop, segments, start);
    AddLoft(surface, bottom, base.y, top, base.y + height, tile, withTop && radiusTop > 0.0f, false);
}

void MeshBuilder::AddEllipsoid(Surface surface, const glm::vec3& centre, const glm::vec3& radii, int segments,
                               int rings, float tile)
{
    auto point = [&](int ring, int segment) {
        const double polar = kPi * ring / rings;
        const double azimuth = 2.0 * kPi * segment / segments;
        const double s = PortableSin(polar);
        return centre +
            glm::vec3(radii.x * static_cast<float>(s * PortableCos(azimuth)),
                      -radii.y * static_cast<float>(PortableCos(polar)),
                      radii.z * static_cast<float>(s * PortableSin(azimuth)));
    };
    for (int ring = 0; ring < rings; ++ring) {
        for (int segment = 0; segment < segments; ++segment) {
            const std::vector<glm::vec3> quad = {point(ring, segment), point(ring + 1, segment),
                                                 point(ring + 1, segment + 1), point(ring, segment + 1)};
            AddFace(surface, quad, Centroid(quad) - centre, tile);
        }
    }
}

void MeshBuilder::AddPyramid(Surface surface, const glm::vec2& lo, const glm::vec2& hi, float y0, float apexHeight,
                             float tile)
{
    const glm::vec3 apex((lo.x + hi.x) * 0.5f, y0 + apexHeight, (lo.y + hi.y) * 0.5f);
    const glm::vec3 corners[4] = {{lo.x, y0, lo.y}, {hi.x, y0, lo.y}, {hi.x, y0, hi.y}, {lo.x, y0, hi.y}};
    for (int i = 0; i < 4; ++i) {
        const glm::vec3& a = corners[i];
        const glm::vec3& b = corners[(i + 1) % 4];
        const glm::vec3 mid = (a + b) * 0.5f;
        AddFace(surface, {a, b, apex}, glm::vec3(mid.x - apex.x, 0.0f, mid.z - apex.z), tile);
    }
}

void MeshBuilder::Append(const MeshBuilder& other)
{
    const ContentMesh& source = other.m_mesh;
    const auto base = static_cast<std::uint32_t>(m_mesh.vertices.size());
    m_mesh.vertices.insert(m_mesh.vertices.end(), source.vertices.begin(), source.vertices.end());
    for (const ContentFace& face : source.faces) {
        const ContentMaterial& material = source.materials[face.material];
        m_mesh.faces.push_back({{face.index[0] + base, face.index[1] + base, face.index[2] + base},
                                MaterialFor(material.surface, material.shade)});
    }
}
