#pragma once

// The camera that head steering moves. The motion interpretation only asks for moves; what
// stands behind them decides whether a ground step is taken (the program's camera asks its level
// map). Every step is positive, its direction in the name: turns in radians, looks and heights
// in world units, ground steps in view lengths (the horizontal length of the view, one world
// unit unless the view was rolled).
class SteeredCamera {
public:
    virtual ~SteeredCamera() = default;

    // About the vertical through the eye.
    virtual void TurnLeft(float radians) = 0;
    virtual void TurnRight(float radians) = 0;
    // The look-at point's height; LevelView brings it a small fixed step back towards level.
    virtual void LookUp(float step) = 0;
    virtual void LookDown(float step) = 0;
    virtual void LevelView() = 0;
    // Ground steps, which walls may refuse.
    virtual void StrafeLeft(float step) = 0;
    virtual void StrafeRight(float step) = 0;
    virtual void WalkForward(float step) = 0;
    virtual void WalkBackward(float step) = 0;
    // The eye's height.
    virtual void Rise(float step) = 0;
    virtual void Descend(float step) = 0;
};
