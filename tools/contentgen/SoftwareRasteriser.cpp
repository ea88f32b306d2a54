#include "tools/contentgen/SoftwareRasteriser.h"

#include "tools/contentgen/PortableMath.h"
#include "tools/contentgen/SunShading.h"
#include "tools/contentgen/TextureLibrary.h"

#include <algorithm>
#include <cmath>
#include <glm/geometric.hpp>

namespace {

constexpr float kNear = 0.5f;

}  // namespace

TextureSet TexturesFor(const std::vector<const ContentMesh*>& meshes)
{
    TextureSet textures;
    std::map<Surface, cv::Mat> bases;
    for (const ContentMesh* mesh : meshes) {
        for (const ContentMaterial& material : mesh->materials) {
            if (textures.count(material.textureFile))
                continue;
            if (!bases.count(material.surface))
                bases[material.surface] = MakeSurfaceTexture(material.surface);
            textures[material.textureFile] = ShadeTexture(bases[material.surface], material.shade);
        }
    }
    return textures;
}

SoftwareRasteriser::SoftwareRasteriser(int width, int height)
    : m_width(width), m_height(height), m_colour(height, width, CV_32FC3), m_depth(height, width, CV_32F)
{
    Clear(cv::Vec3f(0.0f, 0.0f, 0.0f));
}

void SoftwareRasteriser::LookAt(const glm::vec3& eye, const glm::vec3& target, double verticalFov)
{
    m_eye = eye;
    m_forward = glm::normalize(target - eye);
    m_right = glm::normalize(glm::cross(glm::vec3(0.0f, 1.0f, 0.0f), m_forward));
    m_up = glm::cross(m_forward, m_right);
    m_focal = static_cast<float>(PortableCos(verticalFov / 2.0) / PortableSin(verticalFov / 2.0));
}

void SoftwareRasteriser::SetFog(float start, float end, const cv::Vec3f& colourBgr)
{
    m_fogStart = start;
    m_fogEnd = end;
    m_fogColour = colourBgr;
}

void SoftwareRasteriser::Clear(const cv::Vec3f& colourBgr)
{
    m_colour.setTo(cv::Scalar(colourBgr[0], colourBgr[1], colourBgr[2]));
    m_depth.setTo(cv::Scalar(1e30));
}

void SoftwareRasteriser::Draw(const ContentMesh& mesh, const TextureSet& textures)
{
    static const cv::Mat white(1, 1, CV_8UC3, cv::Scalar(255, 255, 255));
    for (const ContentFace& face : mesh.faces) {
        const auto found = textures.find(mesh.materials[face.material].textureFile);
        const cv::Mat& texture = found == textures.end() ? white : found->second;
        std::vector<ViewVertex> polygon;
        for (std::uint32_t index : face.index) {
            const ContentVertex& vertex = mesh.vertices[index];
            const glm::vec3 d = vertex.position - m_eye;
            polygon.push_back(
                {{glm::dot(d, m_right), glm::dot(d, m_up), glm::dot(d, m_forward)}, vertex.uv.x, vertex.uv.y});
        }
        // Clip against the near plane.
        std::vector<ViewVertex> clipped;
        for (std::size_t i = 0; i < polygon.size(); ++i) {
            const ViewVertex& a = polygon[i];
            const ViewVertex& b = polygon[(i + 1) % polygon.size()];
            const bool aIn = a.view.z >= kNear;
            const bool bIn = b.view.z >= kNear;
            if (aIn)
                clipped.push_back(a);
            if (aIn != bIn) {
                const float t = (kNear - a.view.z) / (b.view.z - a.view.z);
                clipped.push_back({a.view + (b.view - a.view) * t, a.u + (b.u - a.u) * t, a.v + (b.v - a.v) * t});
            }
        }
        for (std::size_t i = 1; i + 1 < clipped.size(); ++i)
            DrawTriangle(clipped[0], clipped[i], clipped[i + 1], texture);
    }
}

cv::Vec3f SoftwareRasteriser::Sample(const cv::Mat& texture, float u, float v) const
{
    const float x = (u - std::floor(u)) * texture.cols - 0.5f;
    const float y = (v - std::floor(v)) * texture.rows - 0.5f;
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const float tx = x - fx;
    const float ty = y - fy;
    auto texel = [&](int ix, int iy) {
        ix = ((ix % texture.cols) + texture.cols) % texture.cols;
        iy = ((iy % texture.rows) + texture.rows) % texture.rows;
        const cv::Vec3b& c = texture.at<cv::Vec3b>(iy, ix);
        return cv::Vec3f(c[0], c[1], c[2]) * (1.0f / 255.0f);
    };
    const int ix = static_cast<int>(fx);
    const int iy = static_cast<int>(fy);
    const cv::Vec3f top = texel(ix, iy) * (1.0f - tx) + texel(ix + 1, iy) * tx;
    const cv::Vec3f bottom = texel(ix, iy + 1) * (1.0f - tx) + texel(ix + 1, iy + 1) * tx;
    return top * (1.0f - ty) + bottom * ty;
}

void SoftwareRasteriser::DrawTriangle(const ViewVertex& a, const ViewVertex& b, const ViewVertex& c,
                                      const cv::Mat& texture)
{
    const float halfWidth = 0.5f * m_width;
    const float halfHeight = 0.5f * m_height;
    const float aspect = static_cast<float>(m_width) / m_height;
    struct Screen {
        float x, y, invZ, uOverZ, vOverZ;
    };
    auto project = [&](const ViewVertex& p) {
        const float invZ = 1.0f / p.view.z;
        return Screen{halfWidth + p.view.x * invZ * m_focal / aspect * halfWidth,
                      halfHeight - p.view.y * invZ * m_focal * halfHeight, invZ, p.u * invZ, p.v * invZ};
    };
    const Screen s0 = project(a);
    const Screen s1 = project(b);
    const Screen s2 = project(c);
    const float area = (s1.x - s0.x) * (s2.y - s0.y) - (s2.x - s0.x) * (s1.y - s0.y);
    if (std::fabs(area) < 1e-9f)
        return;
    const int minX = std::max(0, static_cast<int>(std::floor(std::min({s0.x, s1.x, s2.x}))));
    const int maxX = std::min(m_width - 1, static_cast<int>(std::ceil(std::max({s0.x, s1.x, s2.x}))));
    const int minY = std::max(0, static_cast<int>(std::floor(std::min({s0.y, s1.y, s2.y}))));
    const int maxY = std::min(m_height - 1, static_cast<int>(std::ceil(std::max({s0.y, s1.y, s2.y}))));
    for (int y = minY; y <= maxY; ++y) {
        const float py = y + 0.5f;
        auto* colourRow = m_colour.ptr<cv::Vec3f>(y);
        auto* depthRow = m_depth.ptr<float>(y);
        for (int x = minX; x <= maxX; ++x) {
            const float px = x + 0.5f;
            float w0 = (s1.x - px) * (s2.y - py) - (s2.x - px) * (s1.y - py);
            float w1 = (s2.x - px) * (s0.y - py) - (s0.x - px) * (s2.y - py);
            float w2 = (s0.x - px) * (s1.y - py) - (s1.x - px) * (s0.y - py);
            if (area < 0.0f) {
                w0 = -w0;
                w1 = -w1;
                w2 = -w2;
            }
            if (w0 < 0.0f || w1 < 0.0f || w2 < 0.0f)
                continue;
            const float sum = w0 + w1 + w2;
            w0 /= sum;
            w1 /= sum;
            w2 /= sum;
            const float invZ = w0 * s0.invZ + w1 * s1.invZ + w2 * s2.invZ;
            const float depth = 1.0f / invZ;
            if (depth >= depthRow[x])
                continue;
            depthRow[x] = depth;
            const float u = (w0 * s0.uOverZ + w1 * s1.uOverZ + w2 * s2.uOverZ) * depth;
            const float v = (w0 * s0.vOverZ + w1 * s1.vOverZ + w2 * s2.vOverZ) * depth;
            cv::Vec3f colour = Sample(texture, u, v);
            if (m_fogEnd > m_fogStart) {
                const float fog = std::min(1.0f, std::max(0.0f, (depth - m_fogStart) / (m_fogEnd - m_fogStart)));
                colour = colour * (1.0f - fog) + m_fogColour * fog;
            }
            colourRow[x] = colour;
        }
    }
}

cv::Mat SoftwareRasteriser::Picture() const
{
    cv::Mat picture(m_height, m_width, CV_8UC3);
    for (int y = 0; y < m_height; ++y) {
        const auto* in = m_colour.ptr<cv::Vec3f>(y);
        auto* out = picture.ptr<cv::Vec3b>(y);
        for (int x = 0; x < m_width; ++x) {
            for (int k = 0; k < 3; ++k)
                out[x][k] = static_cast<uchar>(std::min(1.0f, std::max(0.0f, in[x][k])) * 255.0f + 0.5f);
        }
    }
    return picture;
}
