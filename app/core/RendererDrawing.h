#pragma once

#include "app/core/FrameDrawing.h"

class CRenderer;

// The main loop's frames drawn by the renderer.
class RendererDrawing : public FrameDrawing {
public:
    explicit RendererDrawing(CRenderer& renderer) : m_renderer(renderer) {}

    void BeginFrame() override;
    void DrawIntro() override;
    void DrawScene(const CLevelMap& levelMap) override;
    void DrawTextLine(const char* text, int line, int width, int height) override;
    void EndFrame() override;

private:
    CRenderer& m_renderer;
};
