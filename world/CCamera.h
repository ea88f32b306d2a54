#pragma once

#include <glm/vec3.hpp>

class CLevelMap;

// The first-person viewer both steering sources move. Eye, look-at point, up and side vectors
// are 32-bit floats; every move is a small bounded step, and ground steps ask the level map
// first and sound the footstep or the hit clip.
class CCamera {
public:
    // Registers itself as the current camera.
    CCamera();
    ~CCamera();
    CCamera(const CCamera&) = delete;
    CCamera& operator=(const CCamera&) = delete;

    // The most recently constructed camera that is still alive, or null.
    static CCamera* Current();

    void Reset();

    void TurnLeft(float angle);
    void TurnRight(float angle);
    void RotateZNegative(float angle);
    void RotateZPositive(float angle);
    void LookUp(float step);
    void LookDown(float step);
    void LevelView();
    void Rise(float step);
    void Descend(float step);
    void WalkForward(CLevelMap& map, float step);
    void WalkBackward(CLevelMap& map, float step);
    void StrafeLeft(CLevelMap& map, float step);
    void StrafeRight(CLevelMap& map, float step);

    // Rotates the look-at point about the unit axis (x, y, z) through the eye.
    void RotateView(float angle, float x, float y, float z);
    // Tested ground step along the view direction.
    void Walk(CLevelMap& map, float step);
    // Tested side-step; a positive step goes to the viewer's left.
    void Strafe(CLevelMap& map, float step);

    const glm::vec3& Eye() const { return m_eye; }
    const glm::vec3& LookAt() const { return m_lookAt; }
    const glm::vec3& Up() const { return m_up; }
    const glm::vec3& Side() const { return m_side; }

private:
    // Moves eye and look-at together if the map lets the eye go; a footstep or a hit either way.
    void StepOnGround(CLevelMap& map, float dx, float dz);

    glm::vec3 m_eye;
    glm::vec3 m_lookAt;
    glm::vec3 m_up;
    glm::vec3 m_side;
};
