#pragma once

#include "tools/contentgen/ContentMesh.h"

#include <glm/vec3.hpp>
#include <map>
#include <opencv2/core.hpp>
#include <string>
#include <vector>

// Texture images by file name, as the materials of a mesh name them.
using TextureSet = std::map<std::string, cv::Mat>;

// Every texture a set of meshes names, made from the procedural surfaces.
TextureSet TexturesFor(const std::vector<const ContentMesh*>& meshes);

// A small z-buffered rasteriser for pictures of the content: the title picture, and previews
// when no GL device is at hand. It draws like the game's renderer: left-handed look-at view,
// vertical field of view, no lighting, texture colours (bilinear, wrapping), no face culling,
// linear fog by view depth. Plain float arithmetic throughout, so its pictures are the same
// bit for bit on every run.
class SoftwareRasteriser {
public:
    SoftwareRasteriser(int width, int height);

    void LookAt(const glm::vec3& eye, const glm::vec3& target, double verticalFov);
    // Linear fog from `start` to `end` view depth towards `colour`; end <= start switches it off.
    void SetFog(float start, float end, const cv::Vec3f& colourBgr);
    void Clear(const cv::Vec3f& colourBgr);
    void Draw(const ContentMesh& mesh, const TextureSet& textures);

    // The picture as 8-bit BGR.
    cv::Mat Picture() const;

private:
    struct ViewVertex {
        glm::vec3 view;
        float u;
        float v;
    };
    void DrawTriangle(const ViewVertex& a, const ViewVertex& b, const ViewVertex& c, const cv::Mat& texture);
    cv::Vec3f Sample(const cv::Mat& texture, float u, float v) const;

    int m_width;
    int m_height;
    glm::vec3 m_eye{0.0f};
    glm::vec3 m_right{1.0f, 0.0f, 0.0f};
    glm::vec3 m_up{0.0f, 1.0f, 0.0f};
    glm::vec3 m_forward{0.0f, 0.0f, 1.0f};
    float m_focal = 1.0f;
    float m_fogStart = 0.0f;
    float m_fogEnd = 0.0f;
    cv::Vec3f m_fogColour;
    cv::Mat m_colour;  // CV_32FC3, BGR in 0..1
    cv::Mat m_depth;  // CV_32F view depth
};
