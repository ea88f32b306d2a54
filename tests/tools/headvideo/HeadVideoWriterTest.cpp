#include "tools/headvideo/HeadVideoWriter.h"
#include "tools/headvideo/MotionScript.h"

#include <gtest/gtest.h>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#include <opencv2/videoio.hpp>

#include <filesystem>
#include <stdexcept>
#include <string>

#include <stdlib.h>

namespace {

// A photo with a bright "face" on a shaded background.
cv::Mat Photo()
{
    cv::Mat photo(300, 400, CV_8UC3);
    for (int y = 0; y < photo.rows; ++y)
        photo.row(y).setTo(cv::Scalar(40 + y / 3, 90, 160 - y / 3));
    cv::ellipse(photo, {200, 150}, {50, 70}, 0.0, 0.0, 360.0, cv::Scalar(150, 180, 230), cv::FILLED);
    cv::circle(photo, {180, 130}, 8, cv::Scalar(30, 30, 30), cv::FILLED);
    cv::circle(photo, {220, 130}, 8, cv::Scalar(30, 30, 30), cv::FILLED);
    return photo;
}

class HeadVideoWriterTest : public ::testing::Test {
protected:
    void TearDown() override { std::filesystem::remove_all(m_folder); }

    std::string File(const std::string& name) const { return (m_folder / name).string(); }

    std::filesystem::path m_folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "brumaria-headvideo-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot create a temporary folder");
        return std::filesystem::path(pattern);
    }();
};

TEST_F(HeadVideoWriterTest, WritesEveryFrameWithTheChosenCodec)
{
    std::string error;
    const std::optional<MotionScript> script = MotionScript::Parse("still:5,left:60", error);
    ASSERT_TRUE(script) << error;
    HeadVideoSettings settings;
    settings.codec = "H264";
    const HeadVideoWriter writer(Photo(), cv::Rect(150, 80, 100, 140), settings);
    ASSERT_TRUE(writer.Write(*script, File("h264.avi"), File("h264.csv"), error)) << error;
    const HeadVideoWriter mjpg(Photo(), cv::Rect(150, 80, 100, 140));
    ASSERT_TRUE(mjpg.Write(*script, File("mjpg.avi"), File("mjpg.csv"), error)) << error;

    cv::VideoCapture video(File("h264.avi"));
    ASSERT_TRUE(video.isOpened());
    EXPECT_EQ(static_cast<int>(video.get(cv::CAP_PROP_FOURCC)), cv::VideoWriter::fourcc('H', '2', '6', '4'));
    int frames = 0;
    cv::Mat frame;
    while (video.read(frame)) {
        // Close to what the writer drew: a lossy codec, but not a different picture.
        EXPECT_GT(cv::PSNR(frame, writer.Frame(script->PoseAt(frames))), 30.0) << "frame " << frames;
        ++frames;
    }
    EXPECT_EQ(frames, script->Frames());
    EXPECT_LT(std::filesystem::file_size(File("h264.avi")), std::filesystem::file_size(File("mjpg.avi")) / 4);
}

TEST_F(HeadVideoWriterTest, ACodecNameOfOtherThanFourCharactersIsRefused)
{
    std::string error;
    const std::optional<MotionScript> script = MotionScript::Parse("still:2", error);
    ASSERT_TRUE(script) << error;
    HeadVideoSettings settings;
    settings.codec = "H26";
    EXPECT_FALSE(HeadVideoWriter(Photo(), cv::Rect(150, 80, 100, 140), settings)
                     .Write(*script, File("a.avi"), File("a.csv"), error));
    EXPECT_EQ(error, "a codec is named by four characters, not \"H26\"");
    EXPECT_FALSE(std::filesystem::exists(File("a.avi")));
}

}  // namespace
