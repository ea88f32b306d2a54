#include "tools/contentgen/Archway.h"

#include "tools/contentgen/PortableMath.h"

namespace {

const glm::vec3 kUp(0.0f, 1.0f, 0.0f);

}  // namespace

void AddArchway(MeshBuilder& b, Surface surface, const Archway& a, int segments, float tile)
{
    auto at = [&](float along, float height, float depth) {
        return a.centre + a.across * along + kUp * height + a.through * depth;
    };
    std::vector<glm::vec2> arc;  // (along, height) from the left springing over to the right
    for (int i = 0; i <= segments; ++i) {
        const double angle = kPi - kPi * i / segments;
        arc.emplace_back(a.halfWidth * static_cast<float>(PortableCos(angle)),
                         a.springing + a.halfWidth * static_cast<float>(PortableSin(angle)));
    }
    for (int i = 0; i < segments; ++i) {
        const glm::vec2 p = arc[i];
        const glm::vec2 q = arc[i + 1];
        for (const float side : {-1.0f, 1.0f}) {
            const float depth = side * a.halfDepth;
            b.AddFace(surface, {at(p.x, p.y, depth), at(q.x, q.y, depth), at(q.x, a.top, depth), at(p.x, a.top, depth)},
                      a.through * side, tile);
        }
        const glm::vec2 mid = (p + q) * 0.5f;
        b.AddFace(surface,
                  {at(p.x, p.y, -a.halfDepth), at(q.x, q.y, -a.halfDepth), at(q.x, q.y, a.halfDepth),
                   at(p.x, p.y, a.halfDepth)},
                  a.across * -mid.x - kUp * (mid.y - a.springing), tile);
    }
    if (a.pierWidth > 0.0f) {
        for (const float side : {-1.0f, 1.0f}) {
            const float inner = side * a.halfWidth;
            const float outer = side * (a.halfWidth + a.pierWidth);
            const glm::vec3 out = a.across * side;
            for (const float face : {-1.0f, 1.0f}) {
                const float depth = face * a.halfDepth;
                b.AddFace(
                    surface,
                    {at(inner, 0.0f, depth), at(outer, 0.0f, depth), at(outer, a.top, depth), at(inner, a.top, depth)},
                    a.through * face, tile);
            }
            b.AddFace(surface,
                      {at(inner, 0.0f, -a.halfDepth), at(inner, 0.0f, a.halfDepth), at(inner, a.springing, a.halfDepth),
                       at(inner, a.springing, -a.halfDepth)},
                      -out, tile);
            b.AddFace(surface,
                      {at(outer, 0.0f, -a.halfDepth), at(outer, 0.0f, a.halfDepth), at(outer, a.top, a.halfDepth),
                       at(outer, a.top, -a.halfDepth)},
                      out, tile);
        }
    }
    const float reach = a.halfWidth + a.pierWidth;
    b.AddFace(surface,
              {at(-reach, a.top, -a.halfDepth), at(reach, a.top, -a.halfDepth), at(reach, a.top, a.halfDepth),
               at(-reach, a.top, a.halfDepth)},
              kUp, tile);
}

void AddArchRing(MeshBuilder& b, Surface surface, const Archway& a, float inner, float outer, int segments, float tile)
{
    auto at = [&](float along, float height, float depth) {
        return a.centre + a.across * along + kUp * height + a.through * depth;
    };
    auto ring = [&](int i, float radius) {
        const double angle = kPi - kPi * i / segments;
        return glm::vec2(radius * static_cast<float>(PortableCos(angle)),
                         a.springing + radius * static_cast<float>(PortableSin(angle)));
    };
    for (int i = 0; i < segments; ++i) {
        const glm::vec2 p0 = ring(i, inner);
        const glm::vec2 p1 = ring(i + 1, inner);
        const glm::vec2 q0 = ring(i, outer);
        const glm::vec2 q1 = ring(i + 1, outer);
        for (const float side : {-1.0f, 1.0f}) {
            const float d = side * a.halfDepth;
            b.AddFace(surface, {at(p0.x, p0.y, d), at(p1.x, p1.y, d), at(q1.x, q1.y, d), at(q0.x, q0.y, d)},
                      a.through * side, tile);
        }
        const glm::vec2 mid = (q0 + q1) * 0.5f;
        b.AddFace(surface,
                  {at(q0.x, q0.y, -a.halfDepth), at(q1.x, q1.y, -a.halfDepth), at(q1.x, q1.y, a.halfDepth),
                   at(q0.x, q0.y, a.halfDepth)},
                  a.across * mid.x + kUp * (mid.y - a.springing), tile);
    }
    for (const float side : {-1.0f, 1.0f}) {
        const float x0 = side * inner;
        const float x1 = side * outer;
        for (const float face : {-1.0f, 1.0f}) {
            const float d = face * a.halfDepth;
            b.AddFace(surface, {at(x0, 0.0f, d), at(x1, 0.0f, d), at(x1, a.springing, d), at(x0, a.springing, d)},
                      a.through * face, tile);
        }
        b.AddFace(surface,
                  {at(x1, 0.0f, -a.halfDepth), at(x1, 0.0f, a.halfDepth), at(x1, a.springing, a.halfDepth),
                   at(x1, a.springing, -a.halfDepth)},
                  a.across * side, tile);
    }
}

std::vector<glm::vec3> RoundHeadedOutline(const glm::vec3& bottomCentre, const glm::vec3& across, float halfWidth,
                                          float springing, int segments)
{
    std::vector<glm::vec3> points = {bottomCentre - across * halfWidth, bottomCentre + across * halfWidth};
    for (int i = 0; i <= segments; ++i) {
        const double angle = kPi * i / segments;
        points.push_back(bottomCentre + across * (halfWidth * static_cast<float>(PortableCos(angle))) +
                         kUp * (springing + halfWidth * static_cast<float>(PortableSin(angle))));
    }
    return points;
}
