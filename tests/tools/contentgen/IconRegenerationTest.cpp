#include "tools/contentgen/ContentGenerator.h"
#include "tools/contentgen/IconPicture.h"
#include "tools/contentgen/LevelLayout.h"
#include "world/CLevelMap.h"

#include <gtest/gtest.h>
#include <opencv2/imgcodecs.hpp>

#include <filesystem>
#include <fstream>
#include <iterator>

// The committed icons are exactly what the generator makes today, and each is a rounded
// square: (nearly, at 16 pixels) transparent in its corners, opaque inside.
TEST(IconRegeneration, PackagingIconsMatchTheGeneratorByteForByte)
{
    const CLevelMap map;
    const IconPicture icon(PlaceModels(BuildModels(LevelLayout(map))));
    for (const int size : IconPicture::Sizes()) {
        const std::string side = std::to_string(size);
        const std::filesystem::path file = std::filesystem::path(BRUMARIA_SOURCE_DIR) / "packaging/icons/hicolor" /
            (side + "x" + side) / "apps/brumaria.png";
        std::ifstream in(file, std::ios::binary);
        const std::vector<uchar> committed{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        const cv::Mat picture = icon.Picture(size);
        std::vector<uchar> made;
        ASSERT_TRUE(cv::imencode(".png", picture, made));
        EXPECT_TRUE(made == committed) << file << " no longer matches what tools/contentgen's icongen makes; if the "
                                       << "change is meant, run `icongen packaging/icons` from the build folder's "
                                       << "tools/contentgen and commit the result";
        ASSERT_EQ(picture.size(), cv::Size(size, size));
        ASSERT_EQ(picture.type(), CV_8UC4);
        EXPECT_LT(picture.at<cv::Vec4b>(0, 0)[3], 16) << size;
        EXPECT_LT(picture.at<cv::Vec4b>(size - 1, size - 1)[3], 16) << size;
        EXPECT_EQ(picture.at<cv::Vec4b>(size / 2, size / 2)[3], 255) << size;
        EXPECT_EQ(picture.at<cv::Vec4b>(size / 2, 0)[3], 255) << size;
    }
}
