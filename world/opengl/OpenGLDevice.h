#pragma once

#include "world/GraphicsDevice.h"
#include "world/opengl/OpenGLResources.h"

#include <QImage>
#include <QOpenGLWidget>

#include <future>
#include <map>
#include <memory>
#include <string>
#include <vector>

class BackBuffer;
class FixedFunctionShader;
class QOpenGLFunctions_3_3_Core;

// The 3D device on a widget, through OpenGL 3.3: the widget is the window the frames are
// presented in. Frames are drawn when the renderer asks, into a back buffer of the widget's real
// size (device pixels); Present copies it onto the widget and schedules the widget's repaint,
// which shows it on screen. Until the first frame is presented, the widget shows the start-up
// status texts.
//
// The renderer draws a view of a fixed size (its projection's aspect, its text rectangles): the
// view size. It fills as much of the back buffer as it can without being distorted, centred
// between black bars, and is drawn at that resolution, so it stays sharp at any window size.
// When the widget changes size the back buffer follows it, black, and NeedsFrame asks for a
// frame to fill it.
//
// The widget must be on screen (its window shown) before Initialize: that is when Qt gives it
// its OpenGL context.
class OpenGLDevice : public QOpenGLWidget, public GraphicsDevice {
    Q_OBJECT
public:
    // Longest side of a texture in texels: larger pictures are scaled down to it.
    static constexpr int kMaxTextureSide = 4096;

    explicit OpenGLDevice(QWidget* parent = nullptr);
    ~OpenGLDevice() override;

    bool Initialize() override;
    bool GetDisplayMode(DisplayMode& mode) override;
    bool GetCaps(DeviceCaps& caps) override;
    bool CreateDevice(DepthFormat depthFormat, VertexProcessing processing) override;
    bool HasDevice() const override;
    void WriteStatusText(int x, int y, const std::string& text) override;
    void RequestQuit(int exitCode) override;
    // Reads each file once; a picture over kMaxTextureSide (or the OpenGL limit) is scaled down.
    DeviceTexture* CreateTextureFromFile(const std::string& path) override;
    DeviceMesh* CreateMesh(const MeshData& mesh) override;
    DeviceVertexBuffer* CreateVertexBuffer(const MeshVertex* vertices, int count) override;
    DeviceFont* CreateFont(const FontDescription& description) override;
    void Clear(std::uint32_t flags, std::uint32_t color, float depth, std::uint32_t stencil) override;
    void BeginScene() override;
    void EndScene() override;
    void Present() override;
    void SetTransform(TransformType type, const glm::mat4& matrix) override;
    void SetRenderState(RenderState state, std::uint32_t value) override;
    void SetSamplerState(int stage, SamplerState state, std::uint32_t value) override;
    void SetMaterial(const Material& material) override;
    void SetTexture(int stage, DeviceTexture* texture) override;
    void DrawSubset(DeviceMesh* mesh, int subset) override;
    void SetStreamSource(DeviceVertexBuffer* buffer) override;
    void DrawTriangleList(int startVertex, int primitiveCount) override;
    void DrawText(DeviceFont* font, const char* text, const TextRect& rect, std::uint32_t color) override;

    struct StatusText {
        int x;
        int y;
        QString text;
    };
    // The start-up texts written so far, in order; the window shows them until a frame is presented.
    const std::vector<StatusText>& StatusTexts() const { return m_statusTexts; }

    // Starts reading a picture file on another thread, for a later CreateTextureFromFile of the
    // same path: start-up reads the intro picture while the models load. Only a regular file is
    // read: a FIFO must not keep the thread waiting.
    void ReadAhead(const std::string& path);

    // The size of the view the renderer draws, in pixels; until set, the widget's size when the
    // device is created.
    void SetViewSize(const QSize& size) { m_viewSize = size; }
    // Where the view lies in the back buffer, top row first, in device pixels.
    QRect ViewRect() const { return m_viewRect; }

    // Depth bits of the created device's depth buffer; 0 before CreateDevice succeeds.
    int DepthBits() const;
    // The back buffer as drawn so far, top row first: the view and its bars.
    QImage ReadBackBuffer();

    // Milliseconds spent so far reading and uploading textures, and showing the start-up texts.
    double TextureLoadingMs() const { return m_textureLoadingMs; }
    double StatusTextMs() const { return m_statusTextMs; }

signals:
    // The back buffer has been made anew, black, at the widget's new size: a frame is wanted.
    void NeedsFrame();

protected:
    void resizeGL(int width, int height) override;
    void paintGL() override;

private:
    bool CreateBackBuffer();
    // The viewport for drawing into the view, in OpenGL's bottom-up window coordinates.
    void SetViewport();
    void PaintStatusTexts();
    // Binds the back buffer and sets every OpenGL state a draw depends on; the overlay's
    // painter changes them freely in between.
    void PrepareDraw();
    void ApplySamplerStates();
    unsigned CreateVertexArray(const MeshVertex* vertices, int count, unsigned& vertexBuffer);

    QOpenGLFunctions_3_3_Core* m_gl = nullptr;
    std::unique_ptr<BackBuffer> m_backBuffer;
    DepthFormat m_depthFormat = DepthFormat::D16;
    QSize m_viewSize;
    QRect m_viewRect;
    std::unique_ptr<FixedFunctionShader> m_shader;
    unsigned m_sampler = 0;
    bool m_framePresented = false;
    std::vector<StatusText> m_statusTexts;
    double m_textureLoadingMs = 0.0;
    double m_statusTextMs = 0.0;

    std::vector<std::unique_ptr<OpenGLTexture>> m_textures;
    // Each picture file read so far, with its texture (null for one that could not be read): the
    // models share it.
    std::map<std::string, OpenGLTexture*> m_texturesByFile;
    std::map<std::string, std::future<std::vector<QImage>>> m_picturesAhead;
    std::vector<std::unique_ptr<OpenGLMesh>> m_meshes;
    std::vector<std::unique_ptr<OpenGLVertexBuffer>> m_vertexBuffers;
    std::vector<std::unique_ptr<OpenGLFont>> m_fonts;

    // Device state, starting from Direct3D's defaults.
    glm::mat4 m_world{1.0f};
    glm::mat4 m_view{1.0f};
    glm::mat4 m_projection{1.0f};
    std::uint32_t m_cullMode = CullCounterClockwise;
    bool m_fogEnabled = false;
    std::uint32_t m_fogColor = 0;
    std::uint32_t m_fogTableMode = FogNone;
    std::uint32_t m_fogVertexMode = FogNone;
    float m_fogStart = 0.0f;
    float m_fogEnd = 1.0f;
    std::uint32_t m_magFilter = FilterPoint;
    std::uint32_t m_minFilter = FilterPoint;
    std::uint32_t m_mipFilter = 0;  // no mipmaps
    // Lighting is always off here, so the untextured colour is the material's; white until
    // a material is set, as Direct3D's unlit default.
    Material m_material{{1.0f, 1.0f, 1.0f, 1.0f}, {1.0f, 1.0f, 1.0f, 1.0f}, {}, {}, 0.0f};
    OpenGLTexture* m_texture = nullptr;
    OpenGLVertexBuffer* m_streamSource = nullptr;
};
