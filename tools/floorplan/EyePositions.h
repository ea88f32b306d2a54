#pragma once

#include <glm/vec2.hpp>
#include <vector>

class CLevelMap;

// Where the eye may be (world x, z) while the map's current cell is `cell`, sampled: along the
// cell's boundary just inside it, `spacing` apart; just beyond its openings, as far as a step
// may leave the viewer outside the cell it is assigned to; and over its inside, `interiorSpacing`
// apart. Seeing down past walls is best from the boundary; seeing tall things over walls is
// best from farther back, where the fog's reach may cut in.
std::vector<glm::vec2> EyePositions(const CLevelMap& map, int cell, float spacing, float interiorSpacing);
