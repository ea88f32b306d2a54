#include "world/FrustumPlanes.h"

#include <cmath>

namespace {

PlaneTable g_frustumPlanes{};

// Element (row, column) of the matrix written for row vectors, both counted from 1.
float Element(const glm::mat4& m, int row, int column)
{
    return m[row - 1][column - 1];
}

// Column `column` of the row-vector matrix, plus or minus column 4, as a plane.
Plane ColumnPlane(const glm::mat4& m, int column, float sign)
{
    Plane plane;
    plane.a = Element(m, 1, 4) + sign * Element(m, 1, column);
    plane.b = Element(m, 2, 4) + sign * Element(m, 2, column);
    plane.c = Element(m, 3, 4) + sign * Element(m, 3, column);
    plane.d = Element(m, 4, 4) + sign * Element(m, 4, column);
    return plane;
}

Plane Normalised(const Plane& plane)
{
    const float scale = 1.0f / std::sqrt(plane.a * plane.a + plane.b * plane.b + plane.c * plane.c);
    return {plane.a * scale, plane.b * scale, plane.c * scale, plane.d * scale};
}

}  // namespace

PlaneTable ExtractPlanes(const glm::mat4& view, const glm::mat4& projection)
{
    // view × projection for row vectors is projection * view for glm's column vectors.
    const glm::mat4 m = projection * view;
    return {Normalised(ColumnPlane(m, 1, -1.0f)), Normalised(ColumnPlane(m, 1, 1.0f)),
            Normalised(ColumnPlane(m, 2, 1.0f)),  Normalised(ColumnPlane(m, 2, -1.0f)),
            Normalised(ColumnPlane(m, 3, -1.0f)), Normalised(ColumnPlane(m, 3, 1.0f))};
}

bool BoxTouchesFrustum(const PlaneTable& planes, const glm::vec3& boxMin, const glm::vec3& boxMax)
{
    for (const Plane& plane : planes) {
        int inside = 0;
        for (int corner = 0; corner < 8; ++corner) {
            const float x = (corner & 1) ? boxMax.x : boxMin.x;
            const float y = (corner & 2) ? boxMax.y : boxMin.y;
            const float z = (corner & 4) ? boxMax.z : boxMin.z;
            if (plane.a * x + plane.b * y + plane.c * z + plane.d > 0.0f)
                ++inside;
        }
        if (inside == 0)
            return false;
    }
    return true;
}

PlaneTable& CurrentFrustumPlanes()
{
    return g_frustumPlanes;
}
