#pragma once

#include "world/GraphicsDevice.h"

#include <QImage>
#include <QSize>

class QOpenGLFunctions_3_3_Core;

// The frame being drawn: an off-screen colour buffer of the window's size with the requested
// depth buffer. Presenting copies it onto the window (stretched only while the window's new size
// has no frame of its own yet).
class BackBuffer {
public:
    explicit BackBuffer(QOpenGLFunctions_3_3_Core& gl) : m_gl(gl) {}
    ~BackBuffer();
    BackBuffer(const BackBuffer&) = delete;
    BackBuffer& operator=(const BackBuffer&) = delete;

    // False when the format has no OpenGL counterpart or the buffers cannot be made.
    bool Create(const QSize& size, DepthFormat depthFormat);
    bool IsCreated() const { return m_framebuffer != 0; }

    void Bind();
    // Copies the colour buffer onto `framebuffer`, stretched to `targetSize`.
    void CopyTo(unsigned framebuffer, const QSize& targetSize);
    // The colour buffer, top row first.
    QImage Read();

    const QSize& Size() const { return m_size; }
    int DepthBits() const { return m_depthBits; }

private:
    void Release();

    QOpenGLFunctions_3_3_Core& m_gl;
    unsigned m_framebuffer = 0;
    unsigned m_colorBuffer = 0;
    unsigned m_depthBuffer = 0;
    QSize m_size;
    int m_depthBits = 0;
};
