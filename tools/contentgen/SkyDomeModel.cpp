#include "tools/contentgen/ModelBuilders.h"

#include "tools/contentgen/ModelSetEntry.h"
#include "tools/contentgen/PortableMath.h"

namespace {

constexpr float kRadius = 1500.0f;  // holds the whole map, well inside the far plane
constexpr int kSegments = 32;
constexpr int kRings = 10;
constexpr double kLowest = -8.0 * kPi / 180.0;  // a skirt below the horizon
constexpr float kRepeatsAround = 4.0f;

}  // namespace

MeshBuilder BuildSkyDome()
{
    const glm::vec3 centre = ModelSet()[kSkyModel].translation;
    MeshBuilder builder;
    auto elevation = [](int ring) { return kLowest + (kPi / 2.0 - kLowest) * ring / kRings; };
    auto point = [&](int ring, int segment) {
        const double e = elevation(ring);
        const double a = 2.0 * kPi * segment / kSegments;
        return centre +
            kRadius *
            glm::vec3(static_cast<float>(PortableCos(e) * PortableCos(a)), static_cast<float>(PortableSin(e)),
                      static_cast<float>(PortableCos(e) * PortableSin(a)));
    };
    auto v = [&](int ring) {
        const double e = elevation(ring);
        const double down = e > 0.0 ? 1.0 - e / (kPi / 2.0) : 1.0;
        return static_cast<float>(0.002 + 0.994 * down);
    };
    for (int ring = 0; ring < kRings; ++ring) {
        for (int segment = 0; segment < kSegments; ++segment) {
            const float u0 = kRepeatsAround * segment / kSegments;
            const float u1 = kRepeatsAround * (segment + 1) / kSegments;
            std::vector<glm::vec3> points = {point(ring, segment), point(ring, segment + 1),
                                             point(ring + 1, segment + 1), point(ring + 1, segment)};
            std::vector<glm::vec2> uvs = {{u0, v(ring)}, {u1, v(ring)}, {u1, v(ring + 1)}, {u0, v(ring + 1)}};
            if (ring + 1 == kRings) {
                points.pop_back();
                uvs.pop_back();
                uvs.back().x = (u0 + u1) * 0.5f;
            }
            glm::vec3 middle(0.0f);
            for (const glm::vec3& p : points)
                middle += p / static_cast<float>(points.size());
            builder.AddFace(Surface::Sky, points, uvs, centre - middle);
        }
    }
    return builder;
}
