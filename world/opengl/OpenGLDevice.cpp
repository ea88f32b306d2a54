#include "world/opengl/OpenGLDevice.h"

#include "platform/FileKind.h"
#include "world/opengl/BackBuffer.h"
#include "world/opengl/FixedFunctionShader.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImageReader>
#include <QOpenGLContext>
#include <QOpenGLFunctions_3_3_Core>
#include <QOpenGLPaintDevice>
#include <QPainter>
#include <QScreen>
#include <QSurfaceFormat>
#include <QTimer>

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace {

// Direct3D's clip depth runs from 0 to w, OpenGL's from -w to w: z' = 2z - w.
const glm::mat4 kOpenGLClipDepth = {
    {1.0f, 0.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 2.0f, 0.0f}, {0.0f, 0.0f, -1.0f, 1.0f}};

float FloatFromBits(std::uint32_t bits)
{
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

glm::vec3 RgbOf(std::uint32_t color)
{
    return {((color >> 16) & 0xFF) / 255.0f, ((color >> 8) & 0xFF) / 255.0f, (color & 0xFF) / 255.0f};
}

GLint MinificationFilter(std::uint32_t minFilter, std::uint32_t mipFilter)
{
    const bool linear = minFilter == FilterLinear;
    if (mipFilter == FilterPoint)
        return linear ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
    if (mipFilter == FilterLinear)
        return linear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
    return linear ? GL_LINEAR : GL_NEAREST;
}

// Qt's weights run from 0 (thin) to 99 (black); Windows' from 100 to 900, 400 being normal.
int QtWeight(int windowsWeight)
{
    if (windowsWeight <= 0)
        return QFont::Normal;
    if (windowsWeight <= 100)
        return QFont::Thin;
    if (windowsWeight <= 200)
        return QFont::ExtraLight;
    if (windowsWeight <= 300)
        return QFont::Light;
    if (windowsWeight <= 400)
        return QFont::Normal;
    if (windowsWeight <= 500)
        return QFont::Medium;
    if (windowsWeight <= 600)
        return QFont::DemiBold;
    if (windowsWeight <= 700)
        return QFont::Bold;
    if (windowsWeight <= 800)
        return QFont::ExtraBold;
    return QFont::Black;
}

// A Windows font of `height` pixels from the top of its tallest letter cell to the bottom of
// its deepest, and `width` pixels average character width.
QFont FontOf(const FontDescription& description)
{
    QFont font(QString::fromStdString(description.faceName));
    font.setWeight(QtWeight(description.weight));
    font.setItalic(description.italic);
    font.setUnderline(description.underline);
    font.setStrikeOut(description.strikeOut);
    int pixelSize = description.height;
    font.setPixelSize(pixelSize);
    while (pixelSize > 1 && QFontMetrics(font).height() > description.height)
        font.setPixelSize(--pixelSize);
    const int averageWidth = QFontMetrics(font).averageCharWidth();
    if (description.width > 0 && averageWidth > 0)
        font.setStretch(qBound(1, description.width * 100 / averageWidth, 4000));
    return font;
}

// The picture, scaled down to kMaxTextureSide with its proportions kept where it is larger: while
// it is read where the format can (JPEG), otherwise right after. Null for anything but a
// readable regular file.
QImage BoundedPicture(const std::string& path)
{
    if (KindOfFile(path) != FileKind::Regular)
        return QImage();
    const int limit = OpenGLDevice::kMaxTextureSide;
    QImageReader reader(QString::fromStdString(path));
    const QSize size = reader.size();
    if (size.width() > limit || size.height() > limit)
        reader.setScaledSize(size.scaled(limit, limit, Qt::KeepAspectRatio));
    const QImage picture = reader.read();
    if (picture.width() > limit || picture.height() > limit)
        return picture.scaled(picture.size().scaled(limit, limit, Qt::KeepAspectRatio), Qt::IgnoreAspectRatio,
                              Qt::SmoothTransformation);
    return picture;
}

// A picture file as the texels of every mipmap level, each half the one before; none if the
// file is no picture. The levels are averaged here: OpenGL's own generation would have a software
// renderer compile a shader for it during start-up. Rows of four-byte texels: the default unpack
// alignment of 4 fits, and stays as Qt's glyph uploads expect it. The first row of the picture is
// its top, where v = 0.
std::vector<QImage> MipmapLevels(const std::string& path)
{
    QImage level = BoundedPicture(path);
    std::vector<QImage> levels;
    if (level.isNull())
        return levels;
    for (;;) {
        levels.push_back(level.convertToFormat(QImage::Format_RGBA8888));
        if (level.width() == 1 && level.height() == 1)
            return levels;
        level = level.scaled(std::max(1, level.width() / 2), std::max(1, level.height() / 2), Qt::IgnoreAspectRatio,
                             Qt::SmoothTransformation);
    }
}

}  // namespace

OpenGLDevice::OpenGLDevice(QWidget* parent) : QOpenGLWidget(parent)
{
    QSurfaceFormat surfaceFormat = format();
    surfaceFormat.setVersion(3, 3);
    surfaceFormat.setProfile(QSurfaceFormat::CoreProfile);
    setFormat(surfaceFormat);
}

OpenGLDevice::~OpenGLDevice()
{
    if (m_gl == nullptr || context() == nullptr)
        return;
    makeCurrent();
    for (const auto& texture : m_textures)
        m_gl->glDeleteTextures(1, &texture->texture);
    for (const auto& mesh : m_meshes) {
        m_gl->glDeleteVertexArrays(1, &mesh->vertexArray);
        m_gl->glDeleteBuffers(1, &mesh->vertexBuffer);
        m_gl->glDeleteBuffers(1, &mesh->indexBuffer);
    }
    for (const auto& buffer : m_vertexBuffers) {
        m_gl->glDeleteVertexArrays(1, &buffer->vertexArray);
        m_gl->glDeleteBuffers(1, &buffer->vertexBuffer);
    }
    if (m_sampler != 0)
        m_gl->glDeleteSamplers(1, &m_sampler);
    m_backBuffer.reset();
    m_shader.reset();
    doneCurrent();
}

bool OpenGLDevice::Initialize()
{
    if (m_gl != nullptr)
        return true;
    QOpenGLContext* glContext = context();
    if (glContext == nullptr || !glContext->isValid())
        return false;
    makeCurrent();
    auto* functions = glContext->versionFunctions<QOpenGLFunctions_3_3_Core>();
    if (functions == nullptr || !functions->initializeOpenGLFunctions())
        return false;
    m_gl = functions;
    m_backBuffer = std::make_unique<BackBuffer>(*m_gl);
    m_shader = std::make_unique<FixedFunctionShader>(*m_gl);
    return true;
}

bool OpenGLDevice::GetDisplayMode(DisplayMode& mode)
{
    const QScreen* display = screen();
    if (display == nullptr)
        return false;
    mode = {display->size().width(), display->size().height(), qRound(display->refreshRate())};
    return true;
}

bool OpenGLDevice::GetCaps(DeviceCaps& caps)
{
    if (m_gl == nullptr)
        return false;
    // The shading language comes with the context: GLSL 3.30 with OpenGL 3.3. Vertices are
    // always processed by OpenGL itself.
    const QSurfaceFormat contextFormat = context()->format();
    const std::uint32_t version = ShaderVersion(contextFormat.majorVersion(), contextFormat.minorVersion());
    caps = {version, version, 1};
    return true;
}

bool OpenGLDevice::CreateDevice(DepthFormat depthFormat, VertexProcessing)
{
    if (m_gl == nullptr)
        return false;
    makeCurrent();
    if (!m_shader->Build())
        return false;
    if (m_sampler == 0)
        m_gl->glGenSamplers(1, &m_sampler);
    m_depthFormat = depthFormat;
    if (m_viewSize.isEmpty())
        m_viewSize = size();
    return CreateBackBuffer();
}

bool OpenGLDevice::CreateBackBuffer()
{
    const QSize pixels = size() * devicePixelRatioF();
    if (!m_backBuffer->Create(pixels, m_depthFormat))
        return false;
    m_viewRect = QRect(QPoint(), m_viewSize.scaled(pixels, Qt::KeepAspectRatio));
    m_viewRect.moveCenter(QRect(QPoint(), pixels).center());
    // The bars stay black: later clears only reach the view.
    m_backBuffer->Bind();
    m_gl->glDisable(GL_SCISSOR_TEST);
    m_gl->glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    m_gl->glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    m_gl->glClear(GL_COLOR_BUFFER_BIT);
    return true;
}

void OpenGLDevice::resizeGL(int, int)
{
    // Not HasDevice(): a buffer that could not be made at the last size is tried again at this one.
    if (m_gl == nullptr || !m_shader->IsBuilt() || m_backBuffer->Size() == size() * devicePixelRatioF())
        return;
    if (CreateBackBuffer())
        emit NeedsFrame();
}

void OpenGLDevice::SetViewport()
{
    const int bottom = m_backBuffer->Size().height() - m_viewRect.bottom() - 1;
    m_gl->glViewport(m_viewRect.x(), bottom, m_viewRect.width(), m_viewRect.height());
    m_gl->glScissor(m_viewRect.x(), bottom, m_viewRect.width(), m_viewRect.height());
}

bool OpenGLDevice::HasDevice() const
{
    return m_gl != nullptr && context() != nullptr && context()->isValid() && m_backBuffer->IsCreated() &&
        m_shader->IsBuilt();
}

int OpenGLDevice::DepthBits() const
{
    return m_backBuffer ? m_backBuffer->DepthBits() : 0;
}

void OpenGLDevice::WriteStatusText(int x, int y, const std::string& text)
{
    QElapsedTimer painting;
    painting.start();
    m_statusTexts.push_back({x, y, QString::fromStdString(text)});
    // Shown at once: start-up does not return to the event loop until it is done.
    if (isVisible())
        repaint();
    m_statusTextMs += painting.nsecsElapsed() / 1e6;
}

void OpenGLDevice::RequestQuit(int exitCode)
{
    QTimer::singleShot(0, QCoreApplication::instance(), [exitCode] { QCoreApplication::exit(exitCode); });
}

DeviceTexture* OpenGLDevice::CreateTextureFromFile(const std::string& path)
{
    if (m_gl == nullptr)
        return nullptr;
    if (const auto known = m_texturesByFile.find(path); known != m_texturesByFile.end())
        return known->second;
    QElapsedTimer loading;
    loading.start();
    std::vector<QImage> levels;
    if (const auto ahead = m_picturesAhead.find(path); ahead != m_picturesAhead.end()) {
        levels = ahead->second.get();
        m_picturesAhead.erase(ahead);
    } else {
        levels = MipmapLevels(path);
    }
    makeCurrent();
    GLint glLimit = 0;
    m_gl->glGetIntegerv(GL_MAX_TEXTURE_SIZE, &glLimit);
    // An OpenGL that takes less than kMaxTextureSide starts at the first level that fits.
    while (!levels.empty() && glLimit > 0 && std::max(levels.front().width(), levels.front().height()) > glLimit)
        levels.erase(levels.begin());
    if (levels.empty()) {
        m_texturesByFile[path] = nullptr;
        m_textureLoadingMs += loading.nsecsElapsed() / 1e6;
        return nullptr;
    }
    auto texture = std::make_unique<OpenGLTexture>();
    m_gl->glGenTextures(1, &texture->texture);
    m_gl->glActiveTexture(GL_TEXTURE0);
    m_gl->glBindTexture(GL_TEXTURE_2D, texture->texture);
    for (std::size_t number = 0; number < levels.size(); ++number) {
        const QImage& texels = levels[number];
        m_gl->glTexImage2D(GL_TEXTURE_2D, static_cast<GLint>(number), GL_RGBA8, texels.width(), texels.height(), 0,
                           GL_RGBA, GL_UNSIGNED_BYTE, texels.constBits());
    }
    m_gl->glBindTexture(GL_TEXTURE_2D, m_texture != nullptr ? m_texture->texture : 0);
    m_textures.push_back(std::move(texture));
    m_texturesByFile[path] = m_textures.back().get();
    m_textureLoadingMs += loading.nsecsElapsed() / 1e6;
    return m_textures.back().get();
}

void OpenGLDevice::ReadAhead(const std::string& path)
{
    if (m_picturesAhead.count(path) == 0 && m_texturesByFile.count(path) == 0)
        m_picturesAhead[path] = std::async(std::launch::async, MipmapLevels, path);
}

unsigned OpenGLDevice::CreateVertexArray(const MeshVertex* vertices, int count, unsigned& vertexBuffer)
{
    unsigned vertexArray = 0;
    m_gl->glGenVertexArrays(1, &vertexArray);
    m_gl->glBindVertexArray(vertexArray);
    m_gl->glGenBuffers(1, &vertexBuffer);
    m_gl->glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    m_gl->glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(count * sizeof(MeshVertex)), vertices, GL_STATIC_DRAW);
    const GLsizei stride = sizeof(MeshVertex);
    m_gl->glEnableVertexAttribArray(0);
    m_gl->glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride,
                                reinterpret_cast<const void*>(offsetof(MeshVertex, position)));
    m_gl->glEnableVertexAttribArray(1);
    m_gl->glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, stride,
                                reinterpret_cast<const void*>(offsetof(MeshVertex, normal)));
    m_gl->glEnableVertexAttribArray(2);
    m_gl->glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, stride,
                                reinterpret_cast<const void*>(offsetof(MeshVertex, uv)));
    return vertexArray;
}

DeviceMesh* OpenGLDevice::CreateMesh(const MeshData& data)
{
    if (m_gl == nullptr)
        return nullptr;
    makeCurrent();
    auto mesh = std::make_unique<OpenGLMesh>();
    mesh->vertexArray =
        CreateVertexArray(data.vertices.data(), static_cast<int>(data.vertices.size()), mesh->vertexBuffer);
    m_gl->glGenBuffers(1, &mesh->indexBuffer);
    m_gl->glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, mesh->indexBuffer);
    m_gl->glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(data.indices.size() * sizeof(std::uint32_t)),
                       data.indices.data(), GL_STATIC_DRAW);
    m_gl->glBindVertexArray(0);
    mesh->subsets = data.subsets;
    m_meshes.push_back(std::move(mesh));
    return m_meshes.back().get();
}

DeviceVertexBuffer* OpenGLDevice::CreateVertexBuffer(const MeshVertex* vertices, int count)
{
    if (m_gl == nullptr)
        return nullptr;
    makeCurrent();
    auto buffer = std::make_unique<OpenGLVertexBuffer>();
    buffer->vertexArray = CreateVertexArray(vertices, count, buffer->vertexBuffer);
    buffer->vertexCount = count;
    m_gl->glBindVertexArray(0);
    m_vertexBuffers.push_back(std::move(buffer));
    return m_vertexBuffers.back().get();
}

DeviceFont* OpenGLDevice::CreateFont(const FontDescription& description)
{
    auto font = std::make_unique<OpenGLFont>();
    font->font = FontOf(description);
    if (QFontInfo(font->font).family().isEmpty())
        return nullptr;
    m_fonts.push_back(std::move(font));
    return m_fonts.back().get();
}

void OpenGLDevice::Clear(std::uint32_t flags, std::uint32_t color, float depth, std::uint32_t stencil)
{
    if (!HasDevice())
        return;
    makeCurrent();
    m_backBuffer->Bind();
    // As Direct3D's, a clear reaches the view alone.
    SetViewport();
    m_gl->glEnable(GL_SCISSOR_TEST);
    GLbitfield buffers = 0;
    if (flags & ClearTarget) {
        const glm::vec3 rgb = RgbOf(color);
        m_gl->glClearColor(rgb.r, rgb.g, rgb.b, 1.0f);
        m_gl->glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        buffers |= GL_COLOR_BUFFER_BIT;
    }
    if (flags & ClearZBuffer) {
        m_gl->glClearDepth(depth);
        m_gl->glDepthMask(GL_TRUE);
        m_gl->glClearStencil(static_cast<GLint>(stencil));
        buffers |= GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT;
    }
    m_gl->glClear(buffers);
    m_gl->glDisable(GL_SCISSOR_TEST);
}

void OpenGLDevice::BeginScene() {}

void OpenGLDevice::EndScene() {}

void OpenGLDevice::Present()
{
    if (!HasDevice())
        return;
    m_framePresented = true;
    update();
}

void OpenGLDevice::paintGL()
{
    if (m_framePresented && HasDevice()) {
        m_backBuffer->CopyTo(defaultFramebufferObject(), size() * devicePixelRatioF());
        return;
    }
    PaintStatusTexts();
}

// As the window showed them before the first frame: black on white, each painting over
// whatever lay under it.
void OpenGLDevice::PaintStatusTexts()
{
    if (m_gl != nullptr) {
        m_gl->glBindSampler(0, 0);
        m_gl->glBindVertexArray(0);
        m_gl->glUseProgram(0);
    }
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    const QFontMetrics metrics(font());
    for (const StatusText& status : m_statusTexts) {
        const QRect area(status.x, status.y, metrics.horizontalAdvance(status.text), metrics.height());
        painter.fillRect(area, Qt::white);
        painter.setPen(Qt::black);
        painter.drawText(area, Qt::AlignLeft | Qt::AlignTop, status.text);
    }
}

void OpenGLDevice::SetTransform(TransformType type, const glm::mat4& matrix)
{
    switch (type) {
    case TransformType::World: m_world = matrix; break;
    case TransformType::View: m_view = matrix; break;
    case TransformType::Projection: m_projection = matrix; break;
    }
}

void OpenGLDevice::SetRenderState(RenderState state, std::uint32_t value)
{
    switch (state) {
    case RenderState::Lighting: break;  // always unlit (see m_material)
    case RenderState::CullMode: m_cullMode = value; break;
    case RenderState::FogEnable: m_fogEnabled = value != 0; break;
    case RenderState::FogColor: m_fogColor = value; break;
    case RenderState::FogTableMode: m_fogTableMode = value; break;
    case RenderState::FogStart: m_fogStart = FloatFromBits(value); break;
    case RenderState::FogEnd: m_fogEnd = FloatFromBits(value); break;
    case RenderState::FogVertexMode: m_fogVertexMode = value; break;
    }
}

void OpenGLDevice::SetSamplerState(int stage, SamplerState state, std::uint32_t value)
{
    if (stage != 0)
        return;
    switch (state) {
    case SamplerState::MagFilter: m_magFilter = value; break;
    case SamplerState::MinFilter: m_minFilter = value; break;
    case SamplerState::MipFilter: m_mipFilter = value; break;
    }
}

void OpenGLDevice::SetMaterial(const Material& material)
{
    m_material = material;
}

void OpenGLDevice::SetTexture(int stage, DeviceTexture* texture)
{
    if (stage == 0)
        m_texture = static_cast<OpenGLTexture*>(texture);
}

void OpenGLDevice::ApplySamplerStates()
{
    m_gl->glSamplerParameteri(m_sampler, GL_TEXTURE_MAG_FILTER, m_magFilter == FilterLinear ? GL_LINEAR : GL_NEAREST);
    m_gl->glSamplerParameteri(m_sampler, GL_TEXTURE_MIN_FILTER, MinificationFilter(m_minFilter, m_mipFilter));
    m_gl->glSamplerParameteri(m_sampler, GL_TEXTURE_WRAP_S, GL_REPEAT);
    m_gl->glSamplerParameteri(m_sampler, GL_TEXTURE_WRAP_T, GL_REPEAT);
    m_gl->glBindSampler(0, m_sampler);
}

void OpenGLDevice::PrepareDraw()
{
    makeCurrent();
    m_backBuffer->Bind();
    SetViewport();
    m_gl->glDisable(GL_SCISSOR_TEST);
    m_gl->glDisable(GL_STENCIL_TEST);
    m_gl->glDisable(GL_BLEND);
    m_gl->glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    m_gl->glEnable(GL_DEPTH_TEST);
    m_gl->glDepthFunc(GL_LEQUAL);
    m_gl->glDepthMask(GL_TRUE);
    // Both name the winding as seen on the screen; the cull mode names the winding removed.
    if (m_cullMode == CullNone) {
        m_gl->glDisable(GL_CULL_FACE);
    } else {
        m_gl->glEnable(GL_CULL_FACE);
        m_gl->glFrontFace(GL_CCW);
        m_gl->glCullFace(m_cullMode == CullCounterClockwise ? GL_FRONT : GL_BACK);
    }
    m_gl->glActiveTexture(GL_TEXTURE0);
    m_gl->glBindTexture(GL_TEXTURE_2D, m_texture != nullptr ? m_texture->texture : 0);
    ApplySamplerStates();

    const bool fog = m_fogEnabled && (m_fogTableMode == FogLinear || m_fogVertexMode == FogLinear);
    const ColorValue& diffuse = m_material.diffuse;
    m_shader->Use(kOpenGLClipDepth * m_projection * m_view * m_world, m_view * m_world,
                  {diffuse.r, diffuse.g, diffuse.b, diffuse.a}, m_texture != nullptr,
                  {fog, m_fogStart, m_fogEnd, RgbOf(m_fogColor)});
}

void OpenGLDevice::DrawSubset(DeviceMesh* deviceMesh, int subset)
{
    auto* mesh = static_cast<OpenGLMesh*>(deviceMesh);
    if (!HasDevice() || mesh == nullptr || subset < 0 || subset >= static_cast<int>(mesh->subsets.size()))
        return;
    const MeshSubset& range = mesh->subsets[subset];
    if (range.indexCount == 0)
        return;
    PrepareDraw();
    m_gl->glBindVertexArray(mesh->vertexArray);
    m_gl->glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(range.indexCount), GL_UNSIGNED_INT,
                         reinterpret_cast<const void*>(range.firstIndex * sizeof(std::uint32_t)));
    m_gl->glBindVertexArray(0);
}

void OpenGLDevice::SetStreamSource(DeviceVertexBuffer* buffer)
{
    m_streamSource = static_cast<OpenGLVertexBuffer*>(buffer);
}

void OpenGLDevice::DrawTriangleList(int startVertex, int primitiveCount)
{
    if (!HasDevice() || m_streamSource == nullptr || startVertex < 0 || primitiveCount <= 0 ||
        startVertex + primitiveCount * 3 > m_streamSource->vertexCount)
        return;
    PrepareDraw();
    m_gl->glBindVertexArray(m_streamSource->vertexArray);
    m_gl->glDrawArrays(GL_TRIANGLES, startVertex, primitiveCount * 3);
    m_gl->glBindVertexArray(0);
}

void OpenGLDevice::DrawText(DeviceFont* font, const char* text, const TextRect& rect, std::uint32_t color)
{
    if (!HasDevice() || font == nullptr)
        return;
    makeCurrent();
    m_backBuffer->Bind();
    // The painter brings its own program, arrays and texture settings.
    m_gl->glBindSampler(0, 0);
    m_gl->glBindVertexArray(0);
    m_gl->glUseProgram(0);
    QOpenGLPaintDevice target(m_backBuffer->Size());
    QPainter painter(&target);
    // The rectangle is in the view's pixels; the text grows with the view and stays as sharp.
    painter.setClipRect(m_viewRect);
    painter.translate(m_viewRect.topLeft());
    painter.scale(static_cast<qreal>(m_viewRect.width()) / m_viewSize.width(),
                  static_cast<qreal>(m_viewRect.height()) / m_viewSize.height());
    painter.setFont(static_cast<OpenGLFont*>(font)->font);
    painter.setPen(QColor::fromRgba(color));
    painter.drawText(QRect(QPoint(rect.left, rect.top), QPoint(rect.right - 1, rect.bottom - 1)),
                     Qt::AlignLeft | Qt::AlignTop, QString::fromUtf8(text));
}

QImage OpenGLDevice::ReadBackBuffer()
{
    if (!HasDevice())
        return QImage();
    makeCurrent();
    return m_backBuffer->Read();
}
