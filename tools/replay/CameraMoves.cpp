#include "tools/replay/CameraMoves.h"

#include <glm/geometric.hpp>

#include <cmath>

namespace {

// Smaller changes are rounding, not moves.
constexpr float kLeast = 1e-6f;

void Add(std::string& moves, float change, const char* positive, const char* negative)
{
    if (std::fabs(change) <= kLeast)
        return;
    if (!moves.empty())
        moves += '+';
    moves += change > 0 ? positive : negative;
}

float Heading(const glm::vec3& view)
{
    return std::atan2(view.x, view.z);
}

float Elevation(const glm::vec3& view)
{
    return std::atan2(view.y, std::hypot(view.x, view.z));
}

}  // namespace

std::string CameraMoves(const CameraPose& before, const CameraPose& after)
{
    const glm::vec3 view = before.lookAt - before.eye;
    const glm::vec3 newView = after.lookAt - after.eye;
    // Ground directions of the viewer before the move (x right, y up, z forward).
    glm::vec3 forward(view.x, 0.0f, view.z);
    if (glm::length(forward) > 0.0f)
        forward = glm::normalize(forward);
    const glm::vec3 right(forward.z, 0.0f, -forward.x);
    const glm::vec3 step = after.eye - before.eye;

    std::string moves;
    Add(moves, glm::dot(step, right), "right", "left");
    Add(moves, glm::dot(step, forward), "forward", "back");
    Add(moves, step.y, "rise", "descend");
    Add(moves, Heading(newView) - Heading(view), "turn-right", "turn-left");
    Add(moves, Elevation(newView) - Elevation(view), "look-up", "look-down");
    return moves.empty() ? "-" : moves;
}
