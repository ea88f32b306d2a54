#pragma once

#include "tools/floorplan/WallOccluders.h"

#include <glm/vec2.hpp>
#include <glm/vec3.hpp>
#include <vector>

class CLevelMap;

// The highest the eye gets above the ground. The camera rises while its eye is below 5.0, and
// one step may carry it past that: a key step is 0.1; a head-steering step grows with how far
// the face has moved (0.002 a pixel past the threshold), up to about 0.95 for a face that
// crosses a whole picture 480 lines high.
constexpr float kHighestEye = 5.95f;

// Which models of the model set a cell's draw list must hold: those some part of which can be
// seen from some place and height of the eye in that cell, past the walls, within the fog's
// reach. The sky dome, the models of the cell's own walls and floor, the walls on its sides and
// the floors of the cells its openings lead into are seen from anywhere in it.
class DrawListDeriver {
public:
    static constexpr int kSkyModel = 0;

    // `targets`: for each model of the set, the points that show it (SurfaceColumns); the sky
    // dome's are not needed. `highestEye`: the highest the eye may rise above the ground.
    DrawListDeriver(const CLevelMap& map, std::vector<std::vector<glm::vec3>> targets, std::vector<Occluder> walls,
                    float reach, float highestEye);

    // The models seen from `cell`, in model-set order.
    std::vector<int> DrawList(int cell) const;

private:
    struct Extent {
        glm::vec2 low;
        glm::vec2 high;
    };

    std::vector<bool> SeenFromAnywhereIn(int cell) const;

    const CLevelMap& m_map;
    std::vector<std::vector<glm::vec3>> m_targets;
    std::vector<Extent> m_extents;
    std::vector<Occluder> m_walls;
    float m_reach;
    float m_highestEye;
};
