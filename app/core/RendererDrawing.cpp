#include "app/core/RendererDrawing.h"

#include "world/CRenderer.h"

void RendererDrawing::BeginFrame()
{
    m_renderer.BeginFrame();
}

void RendererDrawing::DrawIntro()
{
    m_renderer.DrawIntro();
}

void RendererDrawing::DrawScene(const CLevelMap& levelMap)
{
    m_renderer.DrawScene(levelMap);
}

void RendererDrawing::DrawTextLine(const char* text, int line, int width, int height)
{
    m_renderer.DrawTextLine(text, line, width, height);
}

void RendererDrawing::EndFrame()
{
    m_renderer.EndFrame();
}
