#include "tools/contentgen/PortableMath.h"
#include "tools/contentgen/SunShading.h"
#include "tools/contentgen/TextureLibrary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <opencv2/core.hpp>

namespace {

bool PowerOfTwo(int n)
{
    return n > 0 && (n & (n - 1)) == 0;
}

// Difference between neighbouring columns: the largest between two columns inside the
// picture (plank gaps and tile rows make some large), and the one across the seam where the
// texture repeats (last column next to the first), which must be no worse.
void ColumnSteps(const cv::Mat& image, double& inside, double& seam)
{
    cv::Mat values;
    image.convertTo(values, CV_32FC3);
    inside = 0.0;
    for (int x = 0; x + 1 < image.cols; ++x)
        inside = std::max(inside, cv::norm(values.col(x), values.col(x + 1), cv::NORM_L1));
    seam = cv::norm(values.col(image.cols - 1), values.col(0), cv::NORM_L1);
}

} // namespace

TEST(TextureLibrary, EverySurfaceHasAPowerOfTwoTextureThatTilesWithoutASeam)
{
    for (int s = 0; s < kSurfaceCount; ++s) {
        const auto surface = static_cast<Surface>(s);
        const cv::Mat texture = MakeSurfaceTexture(surface);
        ASSERT_EQ(texture.type(), CV_8UC3) << SurfaceStem(surface);
        EXPECT_TRUE(PowerOfTwo(texture.cols)) << SurfaceStem(surface);
        EXPECT_TRUE(PowerOfTwo(texture.rows)) << SurfaceStem(surface);
        EXPECT_LE(texture.cols, 512) << SurfaceStem(surface);
        double inside = 0.0;
        double seam = 0.0;
        ColumnSteps(texture, inside, seam);
        EXPECT_LE(seam, inside) << SurfaceStem(surface) << " across";
        if (surface != Surface::Sky) { // the sky runs from zenith to horizon, top to bottom
            ColumnSteps(texture.t(), inside, seam);
            EXPECT_LE(seam, inside) << SurfaceStem(surface) << " down";
        }
    }
}

TEST(TextureLibrary, TexturesAreTheSameOnEveryCallAndShadesDarken)
{
    const cv::Mat once = MakeSurfaceTexture(Surface::MossyWall);
    const cv::Mat again = MakeSurfaceTexture(Surface::MossyWall);
    EXPECT_EQ(cv::norm(once, again, cv::NORM_INF), 0.0);
    double previous = cv::mean(once)[0] + cv::mean(once)[1] + cv::mean(once)[2];
    for (int level = 1; level < kShadeLevels; ++level) {
        const cv::Scalar mean = cv::mean(ShadeTexture(once, level));
        const double brightness = mean[0] + mean[1] + mean[2];
        EXPECT_LT(brightness, previous) << level;
        previous = brightness;
    }
}

TEST(SunShading, TopsAndWestFacesAreLitEastFacesDarkest)
{
    EXPECT_EQ(ShadeLevel({0, 1, 0}), 0);
    EXPECT_EQ(ShadeLevel({-1, 0, 0}), 0);
    EXPECT_EQ(ShadeLevel({1, 0, 0}), kShadeLevels - 1);
    EXPECT_LT(ShadeLevel({0, 0, 1}), ShadeLevel({0, 0, -1}));
    EXPECT_EQ(ShadedTextureFile(Surface::Stone, 0), "piedra.png");
    EXPECT_EQ(ShadedTextureFile(Surface::Stone, 2), "piedra_2.png");
    EXPECT_EQ(ShadedTextureFile(Surface::Sky, 2), "cielo.png");
}

TEST(PortableMath, AgreesWithTheLibraryToDoublePrecision)
{
    for (double x = -20.0; x <= 20.0; x += 0.001) {
        ASSERT_NEAR(PortableSin(x), std::sin(x), 1e-14) << x;
        ASSERT_NEAR(PortableCos(x), std::cos(x), 1e-14) << x;
    }
    EXPECT_EQ(PortableSin(0.0), 0.0);
    EXPECT_EQ(PortableCos(0.0), 1.0);
}
