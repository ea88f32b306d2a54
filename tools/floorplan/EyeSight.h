#pragma once

#include "tools/floorplan/WallOccluders.h"

#include <glm/vec2.hpp>
#include <glm/vec3.hpp>
#include <vector>

// What an eye sees past the walls: a point is seen when it lies within reach (in x and z) and
// the straight line to it passes no wall below the wall's top. A line from an eye on a wall's
// line does not pass that wall; a point on a wall's line is inside it. The walls are sorted by
// direction round the eye, so that a look costs a few walls.
class EyeSight {
public:
    EyeSight(std::vector<Occluder> walls, float reach);

    // Puts the eye at `eye` (world x, z), `eyeHeight` above the ground.
    void MoveTo(const glm::vec2& eye, float eyeHeight);
    bool Sees(const glm::vec3& point) const;

private:
    int Sector(double dx, double dz) const;

    std::vector<Occluder> m_walls;
    float m_reach;
    glm::dvec2 m_eye{0.0};
    double m_eyeHeight = 0.0;
    // Each wall's distance from the eye.
    std::vector<double> m_nearest;
    // The walls that some direction of each sector meets, by index, nearest first.
    std::vector<std::vector<int>> m_sectors;
};
