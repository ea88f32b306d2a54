#include "world/CRenderer.h"

#include "platform/ContentPath.h"
#include "platform/FileKind.h"
#include "platform/MessageBox.h"
#include "world/CCamera.h"
#include "world/CLevelMap.h"
#include "world/CModel.h"
#include "world/FrustumPlanes.h"

#include <glm/ext/matrix_clip_space.hpp>
#include <glm/ext/matrix_transform.hpp>

#include <cstring>

namespace {

CRenderer* g_instance = nullptr;

constexpr const char* kDeviceErrorCaption = "ERROR";

constexpr DepthFormat kDepthFormats[] = {DepthFormat::D16Lockable, DepthFormat::D16,     DepthFormat::D15S1,
                                         DepthFormat::D24X8,       DepthFormat::D24X4S4, DepthFormat::D24S8};

// Two triangles at depth 2.4 that just fill a 4:3 view with the projection below.
constexpr MeshVertex kIntroQuad[6] = {
    {{-1.35f, -1.0f, 2.4f}, {0.0f, 0.0f, -1.0f}, {0.0f, 1.0f}},
    {{-1.35f, 1.0f, 2.4f}, {0.0f, 0.0f, -1.0f}, {0.0f, 0.0f}},
    {{1.35f, 1.0f, 2.4f}, {0.0f, 0.0f, -1.0f}, {1.0f, 0.0f}},
    {{-1.35f, -1.0f, 2.4f}, {0.0f, 0.0f, -1.0f}, {0.0f, 1.0f}},
    {{1.35f, 1.0f, 2.4f}, {0.0f, 0.0f, -1.0f}, {1.0f, 0.0f}},
    {{1.35f, -1.0f, 2.4f}, {0.0f, 0.0f, -1.0f}, {1.0f, 1.0f}},
};

constexpr std::uint32_t kWhite = 0xFFFFFFFF;
constexpr std::uint32_t kFogColor = 0xAAAAAA;
constexpr float kFogStart = 10.0f;
constexpr float kFogEnd = 140.0f;
constexpr int kOverlayLineHeight = 20;

std::uint32_t FloatBits(float value)
{
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

}  // namespace

CRenderer::CRenderer()
{
    g_instance = this;
}

CRenderer::~CRenderer()
{
    if (g_instance == this)
        g_instance = nullptr;
}

CRenderer* CRenderer::Instance()
{
    return g_instance;
}

bool CRenderer::Init(GraphicsDevice& device, int width, int height)
{
    if (!device.Initialize()) {
        ShowMessageBox(kDeviceErrorCaption, "Error, No se pudo inicializar DirectX");
        return false;
    }
    if (!device.GetDisplayMode(m_displayMode)) {
        ShowMessageBox(kDeviceErrorCaption, "Error colocando el modo display.");
        return false;
    }
    if (!device.GetCaps(m_caps))
        return false;

    device.WriteStatusText(10, 40, "Cargando 2 ...");
    device.WriteStatusText(10, 40,
                           m_caps.pixelShaderVersion < ShaderVersion(1, 1) ? "Version anterior de PixelShader 1.1"
                                                                           : "Version posterior de PixelShader 1.1");
    device.WriteStatusText(10, 70,
                           m_caps.vertexShaderVersion < ShaderVersion(1, 1) ? "Version anterior de VertexShader 1.1"
                                                                            : "Version posterior de VertexShader 1.1");

    const VertexProcessing processing =
        m_caps.vertexProcessingCaps != 0 ? VertexProcessing::Hardware : VertexProcessing::Software;
    bool created = false;
    for (DepthFormat format : kDepthFormats) {
        if (device.CreateDevice(format, processing)) {
            created = true;
            break;
        }
    }
    if (!created) {
        ShowMessageBox(kDeviceErrorCaption, "Fallo en CreateDevice()! Asegurate que tienes DirectX 9.");
        return false;
    }
    if (!device.HasDevice()) {
        ShowMessageBox(kDeviceErrorCaption, "D3D_Device es igual a nulo!");
        return false;
    }
    m_device = &device;

    device.WriteStatusText(10, 100, "Creado dispositivo 3D");
    device.WriteStatusText(10, 130, "Cargando modelos gráficos...");
    device.WriteStatusText(250, 130, "0%");
    LoadModels();

    device.SetRenderState(RenderState::Lighting, 0);
    device.SetRenderState(RenderState::CullMode, CullNone);

    constexpr float kQuarterPi = 0.7853982f;
    m_projection =
        glm::perspectiveLH_ZO(kQuarterPi, static_cast<float>(width) / static_cast<float>(height), 1.0f, 5000.0f);
    device.SetTransform(TransformType::Projection, m_projection);

    m_fontDescription = {15, 8, 0, 0, 100, false, false, false, 1, 0, 0, 0, 0, "Times New Roman"};
    m_font = device.CreateFont(m_fontDescription);
    if (m_font == nullptr) {
        ShowMessageBox(kDefaultMessageCaption, "D3DXCreateFontIndirect() - FAILED");
        device.RequestQuit(0);
    }
    return true;
}

void CRenderer::LoadModels()
{
    for (const ModelPlacement& placement : kModelSet) {
        // Scaling first, then translation: a model-space point p lands at s·p + t.
        const glm::mat4 scaling = glm::scale(glm::mat4(1.0f), glm::vec3(placement.scale));
        const glm::mat4 translation = glm::translate(glm::mat4(1.0f), placement.translation);
        m_models.push_back(std::make_unique<CModel>(*m_device, placement.file, translation * scaling));
        if (placement.progressText != nullptr)
            m_device->WriteStatusText(250, 130, placement.progressText);
    }
}

void CRenderer::DrawModel(int index)
{
    if (index < 0 || index >= ModelCount())
        return;
    CDrawable& model = *m_models[index];
    model.Draw();
}

bool CRenderer::LoadIntro()
{
    if (m_device == nullptr)
        return true;
    m_introVertices = m_device->CreateVertexBuffer(kIntroQuad, 6);
    // Without its picture the intro is plain white; the program starts all the same.
    const std::string path = NativePath("intro");
    const FileKind kind = KindOfFile(path);
    if (kind == FileKind::Regular)
        m_introTexture = m_device->CreateTextureFromFile(path);
    if (kind == FileKind::Missing)
        ShowMessageBox(kDefaultMessageCaption, "No se encuentra el archivo " + path);
    else if (m_introTexture == nullptr)
        ShowMessageBox(kDefaultMessageCaption, "No se puede leer el archivo " + path);
    m_device->SetTexture(0, m_introTexture);
    return true;
}

void CRenderer::BeginFrame()
{
    if (m_device == nullptr)
        return;
    m_device->Clear(ClearTarget | ClearZBuffer, PackColor(kClearColor), 1.0f, 0);
    m_device->BeginScene();
}

// Relies on stage 0 still holding the intro texture and on the identity world and view
// matrices, as they stand until the first scene frame. BeginFrame and EndFrame bracket it.
bool CRenderer::DrawIntro()
{
    if (m_device == nullptr)
        return true;
    m_device->Clear(ClearTarget | ClearZBuffer, kWhite, 1.0f, 0);
    m_device->SetStreamSource(m_introVertices);
    m_device->DrawTriangleList(0, 2);
    return true;
}

void CRenderer::DrawScene(const CLevelMap& map)
{
    if (m_device == nullptr)
        return;
    m_device->SetSamplerState(0, SamplerState::MagFilter, FilterLinear);
    m_device->SetSamplerState(0, SamplerState::MinFilter, FilterLinear);
    m_device->SetSamplerState(0, SamplerState::MipFilter, FilterPoint);

    if (const CCamera* camera = CCamera::Instance())
        m_view = glm::lookAtLH(camera->Eye(), camera->LookAt(), camera->Up());
    m_device->SetTransform(TransformType::View, m_view);

    ExtractFrustumPlanes();
    map.DrawVisible();
    // After the models: the first scene frame is drawn without fog.
    ApplyFog();
}

void CRenderer::DrawTextLine(const char* text, int line, int width, int height)
{
    if (m_device == nullptr || m_font == nullptr)
        return;
    const TextRect rect = {0, kOverlayLineHeight * line, width, height};
    m_device->DrawText(m_font, text, rect, PackColor(kOverlayColor));
}

void CRenderer::EndFrame()
{
    if (m_device == nullptr)
        return;
    m_device->EndScene();
    m_device->Present();
}

void CRenderer::ApplyFog()
{
    if (m_device == nullptr)
        return;
    m_device->SetRenderState(RenderState::FogEnable, 1);
    m_device->SetRenderState(RenderState::FogColor, kFogColor);
    m_device->SetRenderState(RenderState::FogTableMode, FogLinear);
    m_device->SetRenderState(RenderState::FogStart, FloatBits(kFogStart));
    m_device->SetRenderState(RenderState::FogEnd, FloatBits(kFogEnd));
    m_device->SetRenderState(RenderState::FogVertexMode, FogNone);
    m_device->SetRenderState(RenderState::FogTableMode, FogLinear);
}

void CRenderer::ExtractFrustumPlanes()
{
    CurrentFrustumPlanes() = ExtractPlanes(m_view, m_projection);
}
