#include "tools/contentgen/TextureLibrary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <opencv2/core.hpp>

// Power-of-two sizes, and no seam where the texture repeats: the step between the last column and
// the first is no worse than the worst between neighbouring columns inside (plank gaps and tile
// rows make some large); the same down, but for the sky, which runs from zenith to horizon.
TEST(TextureLibrary, EverySurfaceHasAPowerOfTwoTextureThatTilesWithoutASeam)
{
    auto powerOfTwo = [](int n) { return n > 0 && n <= 512 && (n & (n - 1)) == 0; };
    auto expectNoSeam = [](const cv::Mat& image, const std::string& what) {
        cv::Mat values;
        image.convertTo(values, CV_32FC3);
        double inside = 0.0;
        for (int x = 0; x + 1 < image.cols; ++x)
            inside = std::max(inside, cv::norm(values.col(x), values.col(x + 1), cv::NORM_L1));
        EXPECT_LE(cv::norm(values.col(image.cols - 1), values.col(0), cv::NORM_L1), inside) << what;
    };
    for (int s = 0; s < kSurfaceCount; ++s) {
        const auto surface = static_cast<Surface>(s);
        const cv::Mat texture = MakeSurfaceTexture(surface);
        ASSERT_EQ(texture.type(), CV_8UC3) << SurfaceStem(surface);
        EXPECT_TRUE(powerOfTwo(texture.cols)) << SurfaceStem(surface) << " " << texture.cols;
        EXPECT_TRUE(powerOfTwo(texture.rows)) << SurfaceStem(surface) << " " << texture.rows;
        expectNoSeam(texture, SurfaceStem(surface) + " across");
        if (surface != Surface::Sky)
            expectNoSeam(texture.t(), SurfaceStem(surface) + " down");
    }
}
