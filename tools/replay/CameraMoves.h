#pragma once

#include <glm/vec3.hpp>

#include <string>

// Where a camera stood and looked.
struct CameraPose {
    glm::vec3 eye;
    glm::vec3 lookAt;
};

// The moves that took the camera from one pose to the next, as seen by the viewer, joined by
// '+': "left"/"right" (side-steps), "forward"/"back", "rise"/"descend", "turn-left"/
// "turn-right", "look-up"/"look-down"; "-" when it did not move.
std::string CameraMoves(const CameraPose& before, const CameraPose& after);
