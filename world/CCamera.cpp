#include "world/CCamera.h"

#include "sound/SoundPlugin.h"
#include "world/CLevelMap.h"

#include <cmath>
#include <glm/geometric.hpp>

namespace {

CCamera* g_instance = nullptr;

constexpr float kMaxWalkStep = 3.0f;

const glm::vec3 kStartEye(0.0f, 2.5f, 0.0f);
const glm::vec3 kStartLookAt(0.0f, 2.5f, 1.0f);
const glm::vec3 kUp(0.0f, 1.0f, 0.0f);

// Plays the clip once unless it is still sounding, so rapid steps do not stack.
void PlayOnce(int clip)
{
    SoundPlugin* sound = SoundPlugin::Instance();
    if (sound && !sound->IsPlaying(clip))
        sound->Play(clip, false);
}

// The pitch offset of the view, formed in double from the stored floats.
double PitchOffset(const glm::vec3& eye, const glm::vec3& lookAt)
{
    return static_cast<double>(lookAt.y) - static_cast<double>(eye.y);
}

}  // namespace

CCamera::CCamera() : m_eye(kStartEye), m_lookAt(kStartLookAt), m_up(kUp), m_side(0.0f)
{
    g_instance = this;
}

CCamera::~CCamera()
{
    if (g_instance == this)
        g_instance = nullptr;
}

CCamera* CCamera::Instance()
{
    return g_instance;
}

void CCamera::Reset()
{
    m_eye = kStartEye;
    m_lookAt = kStartLookAt;
    m_up = kUp;
    m_side = glm::vec3(0.0f);
}

void CCamera::TurnLeft(float angle)
{
    RotateView(-angle, 0.0f, 1.0f, 0.0f);
}
void CCamera::TurnRight(float angle)
{
    RotateView(angle, 0.0f, 1.0f, 0.0f);
}
void CCamera::RotateZNegative(float angle)
{
    RotateView(-angle, 0.0f, 0.0f, 1.0f);
}
void CCamera::RotateZPositive(float angle)
{
    RotateView(angle, 0.0f, 0.0f, 1.0f);
}

void CCamera::LookUp(float step)
{
    if (PitchOffset(m_eye, m_lookAt) < 1.0)
        m_lookAt.y += step;
}

void CCamera::LookDown(float step)
{
    if (PitchOffset(m_eye, m_lookAt) > -1.0)
        m_lookAt.y -= step;
}

void CCamera::LevelView()
{
    const double d = PitchOffset(m_eye, m_lookAt);
    if (d > 0.01)
        m_lookAt.y -= 0.005f;
    else if (d < -0.01)
        m_lookAt.y += 0.005f;
}

void CCamera::Rise(float step)
{
    if (static_cast<double>(m_eye.y) < 5.0) {
        m_eye.y += step;
        m_lookAt.y += step;
    }
}

void CCamera::Descend(float step)
{
    if (static_cast<double>(m_eye.y) > 0.0) {
        m_eye.y -= step;
        m_lookAt.y -= step;
    }
}

void CCamera::WalkForward(CLevelMap& map, float step)
{
    // A NaN step counts as a long one.
    Walk(map, (step > kMaxWalkStep || std::isnan(step)) ? kMaxWalkStep : step);
}

void CCamera::WalkBackward(CLevelMap& map, float step)
{
    Walk(map, (step > kMaxWalkStep || std::isnan(step)) ? -kMaxWalkStep : -step);
}

void CCamera::StrafeLeft(CLevelMap& map, float step)
{
    Strafe(map, step);
}
void CCamera::StrafeRight(CLevelMap& map, float step)
{
    Strafe(map, -step);
}

void CCamera::RotateView(float angle, float x, float y, float z)
{
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    const float t = 1.0f - c;
    const glm::vec3 v = m_lookAt - m_eye;
    glm::vec3 r;
    r.x = (c + t * x * x) * v.x + (t * x * y - s * z) * v.y + (t * x * z + s * y) * v.z;
    r.y = (t * x * y + s * z) * v.x + (c + t * y * y) * v.y + (t * y * z - s * x) * v.z;
    r.z = (t * x * z - s * y) * v.x + (t * y * z + s * x) * v.y + (c + t * z * z) * v.z;
    m_lookAt = m_eye + r;
}

void CCamera::Walk(CLevelMap& map, float step)
{
    StepOnGround(map, (m_lookAt.x - m_eye.x) * step, (m_lookAt.z - m_eye.z) * step);
}

void CCamera::Strafe(CLevelMap& map, float step)
{
    const glm::vec3 v = m_lookAt - m_eye;
    m_side = glm::cross(v, m_up);
    StepOnGround(map, step * m_side.x, step * m_side.z);
}

void CCamera::StepOnGround(CLevelMap& map, float dx, float dz)
{
    if (!map.TryMove(m_eye.x, m_eye.z, m_eye.x + dx, m_eye.z + dz)) {
        PlayOnce(HitClip);
        return;
    }
    PlayOnce(WalkClip);
    m_eye.x += dx;
    m_eye.z += dz;
    m_lookAt.x += dx;
    m_lookAt.z += dz;
}
