#include "tools/contentgen/IntroPicture.h"

#include "tools/contentgen/SoftwareRasteriser.h"

#include <filesystem>
#include <opencv2/freetype.hpp>
#include <opencv2/imgproc.hpp>

const char* const kTitleFontFile = "/usr/share/fonts/truetype/liberation/LiberationSerif-Bold.ttf";

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr int kSupersample = 2;

const cv::Vec3f kMist(0.74f, 0.71f, 0.68f);  // BGR: a cool grey-blue
const cv::Scalar kIvory(214, 236, 244);  // BGR

cv::Mat RenderScene(const std::vector<ContentMesh>& placed)
{
    std::vector<const ContentMesh*> meshes;
    for (const ContentMesh& mesh : placed)
        meshes.push_back(&mesh);
    const TextureSet textures = TexturesFor(meshes);
    SoftwareRasteriser rasteriser(kWidth * kSupersample, kHeight * kSupersample);
    rasteriser.LookAt({-112.0f, 10.0f, 96.0f}, {-2.0f, 47.0f, -14.0f}, 0.85);
    rasteriser.Clear(kMist);
    // The sky first and unfogged, so it shows through the mist above the church.
    rasteriser.Draw(placed.front(), textures);
    rasteriser.SetFog(40.0f, 420.0f, kMist);
    for (std::size_t i = 1; i < placed.size(); ++i)
        rasteriser.Draw(placed[i], textures);
    cv::Mat picture;
    cv::resize(rasteriser.Picture(), picture, cv::Size(kWidth, kHeight), 0, 0, cv::INTER_AREA);
    return picture;
}

// Darkens towards the top and bottom, where the titles go, and a little towards the sides.
void Vignette(cv::Mat& picture)
{
    for (int y = 0; y < picture.rows; ++y) {
        const float v = static_cast<float>(y) / (picture.rows - 1);
        const float band = v < 0.3f ? 0.55f + 1.5f * v : (v > 0.78f ? 1.0f - 1.9f * (v - 0.78f) : 1.0f);
        auto* row = picture.ptr<cv::Vec3b>(y);
        for (int x = 0; x < picture.cols; ++x) {
            const float u = 2.0f * static_cast<float>(x) / (picture.cols - 1) - 1.0f;
            const float k = band * (1.0f - 0.25f * u * u);
            for (int c = 0; c < 3; ++c)
                row[x][c] = static_cast<uchar>(row[x][c] * k + 0.5f);
        }
    }
}

void Title(cv::Mat& picture, cv::freetype::FreeType2& font, const std::string& text, int height, int baseline)
{
    int below = 0;
    const cv::Size size = font.getTextSize(text, height, -1, &below);
    const cv::Point origin((picture.cols - size.width) / 2, baseline);
    // A soft shadow first, then the letters.
    cv::Mat letters(picture.size(), CV_8UC3, cv::Scalar(0, 0, 0));
    font.putText(letters, text, origin + cv::Point(height / 24, height / 24), height, cv::Scalar(255, 255, 255), -1,
                 cv::LINE_AA, true);
    cv::Mat shadow;
    cv::extractChannel(letters, shadow, 0);
    cv::GaussianBlur(shadow, shadow, cv::Size(0, 0), height / 14.0);
    for (int y = 0; y < picture.rows; ++y) {
        const uchar* s = shadow.ptr<uchar>(y);
        auto* row = picture.ptr<cv::Vec3b>(y);
        for (int x = 0; x < picture.cols; ++x) {
            for (int c = 0; c < 3; ++c)
                row[x][c] = static_cast<uchar>(row[x][c] * (255 - s[x] * 3 / 4) / 255);
        }
    }
    font.putText(picture, text, origin, height, kIvory, -1, cv::LINE_AA, true);
}

}  // namespace

cv::Mat MakeIntroPicture(const std::vector<ContentMesh>& placed, const std::string& fontFile)
{
    if (!std::filesystem::exists(fontFile))
        return {};
    cv::Mat picture = RenderScene(placed);
    Vignette(picture);
    const cv::Ptr<cv::freetype::FreeType2> font = cv::freetype::createFreeType2();
    font->loadFontData(fontFile, 0);
    Title(picture, *font, "Brumaria", 150, 190);
    Title(picture, *font, "Pulsa Intro para empezar", 40, 712);
    return picture;
}
