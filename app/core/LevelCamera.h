#pragma once

#include "tracking/SteeredCamera.h"
#include "world/CCamera.h"

class CLevelMap;

// Head steering's moves made by the program's camera, its ground steps tested against the level
// map (and heard: the footstep or the hit).
class LevelCamera : public SteeredCamera {
public:
    // Both must outlive this.
    LevelCamera(CCamera& camera, CLevelMap& map) : m_camera(camera), m_map(map) {}

    void TurnLeft(float radians) override { m_camera.TurnLeft(radians); }
    void TurnRight(float radians) override { m_camera.TurnRight(radians); }
    void LookUp(float step) override { m_camera.LookUp(step); }
    void LookDown(float step) override { m_camera.LookDown(step); }
    void LevelView() override { m_camera.LevelView(); }
    void StrafeLeft(float step) override { m_camera.StrafeLeft(m_map, step); }
    void StrafeRight(float step) override { m_camera.StrafeRight(m_map, step); }
    void WalkForward(float step) override { m_camera.WalkForward(m_map, step); }
    void WalkBackward(float step) override { m_camera.WalkBackward(m_map, step); }
    void Rise(float step) override { m_camera.Rise(step); }
    void Descend(float step) override { m_camera.Descend(step); }

private:
    CCamera& m_camera;
    CLevelMap& m_map;
};
