#pragma once

#include <glm/vec2.hpp>
#include <glm/vec3.hpp>
#include <string>

class CCamera;
class CLevelMap;
class LevelLayout;

// Takes the camera through the floor plan the way a player walks: turning, then stepping
// forward at most 3 units at a time, through the openings from cell to cell, every step asked
// of the level map. So the map's current cell always follows the eye, as in the game.
class CameraRoute {
public:
    explicit CameraRoute(const LevelLayout& layout) : m_layout(layout) {}

    // Walks from the camera's place in the map's current cell to `target` (world x, z). False,
    // with the reason in `error`, when no way of openings leads there or a step is refused.
    bool WalkTo(CCamera& camera, CLevelMap& map, const glm::vec2& target, std::string& error) const;

    // Turns the view towards `target` and tilts it up or down as far as the camera allows.
    static void Face(CCamera& camera, const glm::vec3& target);

private:
    bool Step(CCamera& camera, CLevelMap& map, const glm::vec2& to, std::string& error) const;

    const LevelLayout& m_layout;
};
