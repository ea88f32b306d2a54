#include "world/opengl/BackBuffer.h"

#include <QOpenGLFunctions_3_3_Core>

namespace {

// The depth buffer of each format and its least number of depth bits; 0 when OpenGL has no
// such format (15-bit depth).
struct DepthStorage {
    GLenum internalFormat;
    GLenum attachment;
    int bits;
};

DepthStorage StorageOf(DepthFormat format)
{
    switch (format) {
    case DepthFormat::D16Lockable:
    case DepthFormat::D16: return {GL_DEPTH_COMPONENT16, GL_DEPTH_ATTACHMENT, 16};
    case DepthFormat::D15S1: return {0, 0, 0};
    case DepthFormat::D24X8: return {GL_DEPTH_COMPONENT24, GL_DEPTH_ATTACHMENT, 24};
    case DepthFormat::D24X4S4:
    case DepthFormat::D24S8: return {GL_DEPTH24_STENCIL8, GL_DEPTH_STENCIL_ATTACHMENT, 24};
    }
    return {0, 0, 0};
}

}  // namespace

BackBuffer::~BackBuffer()
{
    Release();
}

bool BackBuffer::Create(const QSize& size, DepthFormat depthFormat)
{
    Release();
    const DepthStorage depth = StorageOf(depthFormat);
    if (depth.bits == 0 || size.isEmpty())
        return false;

    m_gl.glGenFramebuffers(1, &m_framebuffer);
    m_gl.glBindFramebuffer(GL_FRAMEBUFFER, m_framebuffer);
    m_gl.glGenRenderbuffers(1, &m_colorBuffer);
    m_gl.glBindRenderbuffer(GL_RENDERBUFFER, m_colorBuffer);
    // 8 bits per colour as the desktop's, and alpha: the format of the window's own buffer, so
    // that showing a frame is a plain copy.
    m_gl.glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, size.width(), size.height());
    m_gl.glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, m_colorBuffer);
    m_gl.glGenRenderbuffers(1, &m_depthBuffer);
    m_gl.glBindRenderbuffer(GL_RENDERBUFFER, m_depthBuffer);
    m_gl.glRenderbufferStorage(GL_RENDERBUFFER, depth.internalFormat, size.width(), size.height());
    m_gl.glFramebufferRenderbuffer(GL_FRAMEBUFFER, depth.attachment, GL_RENDERBUFFER, m_depthBuffer);

    GLint depthBits = 0;
    m_gl.glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_DEPTH_SIZE, &depthBits);
    const bool complete = m_gl.glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    if (!complete || m_gl.glGetError() != GL_NO_ERROR || depthBits < depth.bits) {
        Release();
        return false;
    }
    m_size = size;
    m_depthBits = depthBits;
    return true;
}

void BackBuffer::Bind()
{
    m_gl.glBindFramebuffer(GL_FRAMEBUFFER, m_framebuffer);
}

void BackBuffer::CopyTo(unsigned framebuffer, const QSize& targetSize)
{
    m_gl.glBindFramebuffer(GL_READ_FRAMEBUFFER, m_framebuffer);
    m_gl.glBindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffer);
    m_gl.glDisable(GL_SCISSOR_TEST);
    m_gl.glBlitFramebuffer(0, 0, m_size.width(), m_size.height(), 0, 0, targetSize.width(), targetSize.height(),
                           GL_COLOR_BUFFER_BIT, targetSize == m_size ? GL_NEAREST : GL_LINEAR);
    m_gl.glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
}

QImage BackBuffer::Read()
{
    QImage image(m_size, QImage::Format_RGBA8888);
    Bind();
    m_gl.glReadPixels(0, 0, m_size.width(), m_size.height(), GL_RGBA, GL_UNSIGNED_BYTE, image.bits());
    // OpenGL's rows run bottom-up.
    return image.mirrored().convertToFormat(QImage::Format_RGB32);
}

void BackBuffer::Release()
{
    if (m_framebuffer != 0)
        m_gl.glDeleteFramebuffers(1, &m_framebuffer);
    if (m_colorBuffer != 0)
        m_gl.glDeleteRenderbuffers(1, &m_colorBuffer);
    if (m_depthBuffer != 0)
        m_gl.glDeleteRenderbuffers(1, &m_depthBuffer);
    m_framebuffer = m_colorBuffer = m_depthBuffer = 0;
    m_size = QSize();
    m_depthBits = 0;
}
