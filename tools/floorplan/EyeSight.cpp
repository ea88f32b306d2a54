#include "tools/floorplan/EyeSight.h"

#include <glm/geometric.hpp>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kSectorCount = 1024;
constexpr double kPi = 3.14159265358979323846;

double Cross(const glm::dvec2& o, const glm::dvec2& p, const glm::dvec2& q)
{
    return (p.x - o.x) * (q.y - o.y) - (p.y - o.y) * (q.x - o.x);
}

double DistanceToSegment(const glm::dvec2& p, const glm::dvec2& a, const glm::dvec2& b)
{
    const glm::dvec2 ab = b - a;
    const double t = std::clamp(glm::dot(p - a, ab) / glm::dot(ab, ab), 0.0, 1.0);
    return glm::distance(p, a + ab * t);
}

}  // namespace

EyeSight::EyeSight(std::vector<Occluder> walls, float reach)
    : m_walls(std::move(walls)), m_reach(reach), m_nearest(m_walls.size()), m_sectors(kSectorCount)
{
}

int EyeSight::Sector(double dx, double dz) const
{
    const int sector = static_cast<int>(std::floor((std::atan2(dz, dx) + kPi) / (2.0 * kPi) * kSectorCount));
    return (sector % kSectorCount + kSectorCount) % kSectorCount;
}

void EyeSight::MoveTo(const glm::vec2& eye, float eyeHeight)
{
    m_eye = eye;
    m_eyeHeight = eyeHeight;
    for (std::vector<int>& sector : m_sectors)
        sector.clear();
    for (int i = 0; i < static_cast<int>(m_walls.size()); ++i) {
        const glm::dvec2 a = m_walls[i].a;
        const glm::dvec2 b = m_walls[i].b;
        m_nearest[i] = DistanceToSegment(m_eye, a, b);
        // A wall in line with the eye cannot be passed by a line from it.
        if (Cross(m_eye, a, b) == 0.0 || m_nearest[i] >= m_reach)
            continue;
        int first = Sector(a.x - m_eye.x, a.y - m_eye.y);
        int last = Sector(b.x - m_eye.x, b.y - m_eye.y);
        // The wall spans less than half a turn; go round the short way, a sector wider at
        // each end for rounding.
        if ((last - first + kSectorCount) % kSectorCount > kSectorCount / 2)
            std::swap(first, last);
        const int span = (last - first + kSectorCount) % kSectorCount;
        for (int k = -1; k <= span + 1; ++k)
            m_sectors[(first + k + kSectorCount) % kSectorCount].push_back(i);
    }
    for (std::vector<int>& sector : m_sectors)
        std::sort(sector.begin(), sector.end(), [&](int i, int j) { return m_nearest[i] < m_nearest[j]; });
}

bool EyeSight::Sees(const glm::vec3& point) const
{
    const glm::dvec2 target(point.x, point.z);
    const double distance = glm::distance(m_eye, target);
    if (distance >= m_reach)
        return false;
    if (distance == 0.0)
        return true;
    for (const int i : m_sectors[Sector(target.x - m_eye.x, target.y - m_eye.y)]) {
        // The rest lie beyond the point.
        if (m_nearest[i] >= distance)
            break;
        const Occluder& wall = m_walls[i];
        const glm::dvec2 a = wall.a;
        const glm::dvec2 b = wall.b;
        const double fromEye = Cross(a, b, m_eye);
        const double fromTarget = Cross(a, b, target);
        // A point on the wall's middle is inside the wall.
        if (fromEye == 0.0 || (fromEye < 0.0 && fromTarget < 0.0) || (fromEye > 0.0 && fromTarget > 0.0))
            continue;
        const double sideA = Cross(m_eye, target, a);
        const double sideB = Cross(m_eye, target, b);
        if ((sideA > 0.0 && sideB > 0.0) || (sideA < 0.0 && sideB < 0.0))
            continue;
        // Height of the sight line where it passes the wall.
        const double along = fromEye / (fromEye - fromTarget);
        if (m_eyeHeight + (point.y - m_eyeHeight) * along < wall.height)
            return false;
    }
    return true;
}
