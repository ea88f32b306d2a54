#pragma once

#include "tools/contentgen/ContentMesh.h"

#include <glm/vec2.hpp>
#include <glm/vec3.hpp>
#include <vector>

// Builds a mesh in world coordinates out of flat faces. Every face gets its own vertices, its
// normal, texture coordinates taken from its world position (so textures keep one size on
// every model) and the material of its surface at the shade level its normal calls for.
class MeshBuilder {
public:
    // A flat convex polygon. `facing` is any direction on the side the face looks towards;
    // the winding is put clockwise as seen from there. `tile` is the world size of one
    // texture repeat.
    void AddFace(Surface surface, std::vector<glm::vec3> points, const glm::vec3& facing, float tile);
    // The same with the texture coordinates given per point.
    void AddFace(Surface surface, std::vector<glm::vec3> points, std::vector<glm::vec2> uvs, const glm::vec3& facing);

    // An axis-aligned box; the faces whose bit is set in `skip` (1 bottom, 2 top) are left out.
    void AddBox(Surface surface, const glm::vec3& minimum, const glm::vec3& maximum, float tile, unsigned skip = 0);
    // A vertical prism over a convex footprint (x, z) between heights y0 and y1.
    void AddPrism(Surface surface, const std::vector<glm::vec2>& footprint, float y0, float y1, float tile,
                  bool withTop = true, bool withBottom = false);
    // A prism whose top footprint may differ from the bottom one (same point count): frusta,
    // plinths, tapering shafts.
    void AddLoft(Surface surface, const std::vector<glm::vec2>& bottom, float y0, const std::vector<glm::vec2>& top,
                 float y1, float tile, bool withTop = true, bool withBottom = false);
    // A vertical cylinder with `segments` sides, or a cone when radiusTop is 0.
    void AddCylinder(Surface surface, const glm::vec3& baseCentre, float radiusBottom, float radiusTop, float height,
                     int segments, float tile, bool withTop = true);
    // An ellipsoid (a sphere scaled by `radii`) of `segments` around and `rings` up.
    void AddEllipsoid(Surface surface, const glm::vec3& centre, const glm::vec3& radii, int segments, int rings,
                      float tile);
    // A four-sided pyramid roof over an axis-aligned rectangle.
    void AddPyramid(Surface surface, const glm::vec2& minimum, const glm::vec2& maximum, float y0, float apexHeight,
                    float tile);

    // Appends another builder's faces.
    void Append(const MeshBuilder& other);

    std::size_t TriangleCount() const { return m_mesh.faces.size(); }
    const ContentMesh& Result() const { return m_mesh; }

private:
    int MaterialFor(Surface surface, int shade);

    ContentMesh m_mesh;
};

// Points of a regular polygon around (cx, cz), starting at angle `start` (radians from +x).
std::vector<glm::vec2> RegularPolygon(float cx, float cz, float radius, int sides, double start);
