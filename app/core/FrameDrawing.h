#pragma once

class CLevelMap;

// The frame operations the main loop draws with.
class FrameDrawing {
public:
    virtual ~FrameDrawing() = default;
    virtual void BeginFrame() = 0;
    virtual void DrawIntro() = 0;
    // The scene from CCamera::Instance(), for the map's current cell.
    virtual void DrawScene(const CLevelMap& levelMap) = 0;
    // One overlay line (0, 1 or 2) of a width x height screen.
    virtual void DrawTextLine(const char* text, int line, int width, int height) = 0;
    virtual void EndFrame() = 0;
};
