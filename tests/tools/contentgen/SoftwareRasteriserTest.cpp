#include "tools/contentgen/MeshBuilder.h"
#include "tools/contentgen/SoftwareRasteriser.h"

#include <gtest/gtest.h>

namespace {

// A square wall facing the viewer at depth z, textured in one colour.
ContentMesh Wall(float z, float half)
{
    MeshBuilder builder;
    builder.AddFace(Surface::Marble, {{-half, -half, z}, {half, -half, z}, {half, half, z}, {-half, half, z}},
                    {0, 0, -1}, 1.0f);
    return builder.Result();
}

TextureSet OneColour(const ContentMesh& mesh, const cv::Vec3b& colour)
{
    TextureSet textures;
    textures[mesh.materials.front().textureFile] = cv::Mat(4, 4, CV_8UC3, cv::Scalar(colour[0], colour[1], colour[2]));
    return textures;
}

} // namespace

TEST(SoftwareRasteriser, DrawsWhatIsAheadAndHidesWhatIsBehind)
{
    SoftwareRasteriser rasteriser(64, 48);
    rasteriser.LookAt({0, 0, 0}, {0, 0, 1}, 3.14159265358979 / 4.0);
    rasteriser.Clear({0.0f, 0.0f, 0.0f});
    const ContentMesh far = Wall(20.0f, 5.0f);
    const ContentMesh near = Wall(10.0f, 1.0f);
    rasteriser.Draw(far, OneColour(far, {0, 0, 255}));
    rasteriser.Draw(near, OneColour(near, {0, 255, 0}));
    const cv::Mat picture = rasteriser.Picture();
    EXPECT_EQ(picture.at<cv::Vec3b>(24, 32), cv::Vec3b(0, 255, 0));  // the near wall in the middle
    EXPECT_EQ(picture.at<cv::Vec3b>(24, 40), cv::Vec3b(0, 0, 255));  // the far wall round it
    EXPECT_EQ(picture.at<cv::Vec3b>(2, 2), cv::Vec3b(0, 0, 0));      // nothing in the corner
    // Behind the eye nothing shows.
    SoftwareRasteriser behind(64, 48);
    behind.LookAt({0, 0, 0}, {0, 0, -1}, 3.14159265358979 / 4.0);
    behind.Clear({0.0f, 0.0f, 0.0f});
    behind.Draw(near, OneColour(near, {0, 255, 0}));
    EXPECT_EQ(cv::countNonZero(behind.Picture().reshape(1)), 0);
}

TEST(SoftwareRasteriser, FogFadesToItsColourByViewDepth)
{
    SoftwareRasteriser rasteriser(64, 48);
    rasteriser.LookAt({0, 0, 0}, {0, 0, 1}, 3.14159265358979 / 4.0);
    rasteriser.Clear({0.0f, 0.0f, 0.0f});
    rasteriser.SetFog(10.0f, 30.0f, {1.0f, 1.0f, 1.0f});
    const ContentMesh wall = Wall(20.0f, 20.0f);
    rasteriser.Draw(wall, OneColour(wall, {0, 0, 0}));
    const cv::Vec3b middle = rasteriser.Picture().at<cv::Vec3b>(24, 32);
    EXPECT_NEAR(middle[0], 128, 2); // half way through the fog
    const ContentMesh beyond = Wall(40.0f, 40.0f);
    SoftwareRasteriser misty(64, 48);
    misty.LookAt({0, 0, 0}, {0, 0, 1}, 3.14159265358979 / 4.0);
    misty.SetFog(10.0f, 30.0f, {1.0f, 1.0f, 1.0f});
    misty.Draw(beyond, OneColour(beyond, {0, 0, 0}));
    EXPECT_EQ(misty.Picture().at<cv::Vec3b>(24, 32), cv::Vec3b(255, 255, 255));
}
