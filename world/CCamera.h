#pragma once

#include <glm/vec3.hpp>

class CLevelMap;

// The first-person viewer both steering sources move. Eye, look-at point, up and side vectors
// are 32-bit floats in world units (left-handed: x right, y up, z forward); every move is a
// small bounded step, and ground steps ask the level map first and sound the footstep or the hit
// clip. Ground steps are counted in view lengths: the horizontal length of look-at minus eye, one
// world unit from the start pose and under every turn about the vertical (only the z rotations
// change it).
class CCamera {
public:
    // Registers itself as the instance.
    CCamera();
    ~CCamera();
    CCamera(const CCamera&) = delete;
    CCamera& operator=(const CCamera&) = delete;

    // The most recently constructed camera that is still alive, or null.
    static CCamera* Instance();

    // Back to the start pose: eye (0, 2.5, 0) looking along +z.
    void Reset();

    // Turns the view about the vertical through the eye by angle radians.
    void TurnLeft(float angle);
    void TurnRight(float angle);
    // Rotates the view about the z axis through the eye by angle radians.
    void RotateZNegative(float angle);
    void RotateZPositive(float angle);
    // Raises or lowers the look-at point by step world units, while the pitch offset (look-at y
    // minus eye y) is inside +-1; LevelView moves it 0.005 towards level, outside +-0.01.
    void LookUp(float step);
    void LookDown(float step);
    void LevelView();
    // Raises or lowers the eye and the look-at point by step world units, while the eye is below
    // 5 or above 0.
    void Rise(float step);
    void Descend(float step);
    // Tested ground steps of step view lengths (at most 3) along the view.
    void WalkForward(CLevelMap& map, float step);
    void WalkBackward(CLevelMap& map, float step);
    // Tested side-steps of step view lengths.
    void StrafeLeft(CLevelMap& map, float step);
    void StrafeRight(CLevelMap& map, float step);

    // Rotates the look-at point by angle radians about the unit axis (x, y, z) through the eye.
    void RotateView(float angle, float x, float y, float z);
    // Tested ground step of step view lengths along the view direction (negative: backwards).
    void Walk(CLevelMap& map, float step);
    // Tested side-step of step view lengths; a positive step goes to the viewer's left.
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
