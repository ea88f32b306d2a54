#pragma once

#include <glm/vec2.hpp>
#include <vector>

class LevelLayout;

// A built wall as something that hides what is behind it: a segment (world x, z) inside its
// footprint, from one end to the other along its middle, and the height of its body. A sight
// line that crosses the segment below that height passes through the wall. Copings, posts,
// plinths and cornices stand out of the body; leaving them out can only let more be seen.
struct Occluder {
    glm::vec2 a;
    glm::vec2 b;
    float height;
};

// The walls the content generator builds on the floor plan, piece by piece with the heights it
// builds them to.
std::vector<Occluder> WallOccluders(const LevelLayout& layout);
