#include "tools/contentgen/IconPicture.h"

#include "tools/contentgen/SoftwareRasteriser.h"

#include <algorithm>
#include <cmath>
#include <opencv2/imgproc.hpp>

namespace {

constexpr int kSceneSize = 1024;
// Mask samples per pixel side, for smooth corners at every size.
constexpr int kMaskSupersample = 8;
// Corner radius and border width, as fractions of the side.
constexpr float kCornerRadius = 0.18f;
constexpr float kBorder = 0.03f;

const cv::Vec3f kMist(0.74f, 0.71f, 0.68f);  // BGR, as the title picture's
const cv::Vec3b kBorderColour(64, 58, 52);  // BGR: dark slate

// How far a point (in sides, from the centre) lies inside the rounded square of half-side 0.5:
// negative outside.
float Inside(float x, float y)
{
    const float inner = 0.5f - kCornerRadius;
    const float dx = std::max(std::abs(x) - inner, 0.0f);
    const float dy = std::max(std::abs(y) - inner, 0.0f);
    if (dx > 0.0f && dy > 0.0f)
        return kCornerRadius - std::sqrt(dx * dx + dy * dy);
    return 0.5f - std::max(std::abs(x), std::abs(y));
}

}  // namespace

IconPicture::IconPicture(const std::vector<ContentMesh>& placed)
{
    std::vector<const ContentMesh*> meshes;
    for (const ContentMesh& mesh : placed)
        meshes.push_back(&mesh);
    const TextureSet textures = TexturesFor(meshes);
    SoftwareRasteriser rasteriser(kSceneSize, kSceneSize);
    // From the forecourt, as the title picture, but nearer: the front and the bell tower.
    rasteriser.LookAt({-95.0f, 9.0f, 82.0f}, {5.0f, 45.0f, -14.0f}, 0.85);
    rasteriser.Clear(kMist);
    // The sky unfogged, as in the title picture.
    rasteriser.Draw(placed.front(), textures);
    rasteriser.SetFog(40.0f, 420.0f, kMist);
    for (std::size_t i = 1; i < placed.size(); ++i)
        rasteriser.Draw(placed[i], textures);
    m_scene = rasteriser.Picture();
}

cv::Mat IconPicture::Picture(int size) const
{
    cv::Mat scene;
    cv::resize(m_scene, scene, cv::Size(size, size), 0, 0, cv::INTER_AREA);
    cv::Mat icon(size, size, CV_8UC4);
    const float border = std::max(kBorder, 1.0f / size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            // Coverage of the square and of its inner part, from samples across the pixel.
            int covered = 0;
            int inner = 0;
            for (int sy = 0; sy < kMaskSupersample; ++sy) {
                for (int sx = 0; sx < kMaskSupersample; ++sx) {
                    const float px = (x + (sx + 0.5f) / kMaskSupersample) / size - 0.5f;
                    const float py = (y + (sy + 0.5f) / kMaskSupersample) / size - 0.5f;
                    const float depth = Inside(px, py);
                    covered += depth >= 0.0f;
                    inner += depth >= border;
                }
            }
            const int samples = kMaskSupersample * kMaskSupersample;
            const cv::Vec3b& colour = scene.at<cv::Vec3b>(y, x);
            cv::Vec4b& out = icon.at<cv::Vec4b>(y, x);
            for (int c = 0; c < 3; ++c) {
                const int mixed =
                    covered == 0 ? 0 : (colour[c] * inner + kBorderColour[c] * (covered - inner)) / covered;
                out[c] = static_cast<uchar>(mixed);
            }
            out[3] = static_cast<uchar>((255 * covered + samples / 2) / samples);
        }
    }
    return icon;
}

const std::vector<int>& IconPicture::Sizes()
{
    static const std::vector<int> kSizes = {16, 32, 48, 64, 128, 256};
    return kSizes;
}
