#include "tracking/capture/CaptureSource.h"

#include "platform/MessageBox.h"
#include "tests/tracking/HeadScenes.h"
#include "tests/tracking/TemporaryFolder.h"

#include <gtest/gtest.h>
#include <opencv2/imgproc.hpp>

#include <filesystem>

#include <stdlib.h>

using namespace headscenes;

TEST(CaptureSource, CameraVariablePicksACameraByNumber)
{
    MessageCapture messages;
    const struct {
        const char* value;
        std::optional<int> camera;
    } cases[] = {{nullptr, std::nullopt}, {"", std::nullopt}, {"1", 1}, {"uno", std::nullopt},
                 {"-1", std::nullopt},    {"2x", std::nullopt}, {"100", std::nullopt}};
    for (const auto& c : cases) {
        c.value ? ::setenv(CaptureSource::kCameraVariable, c.value, 1) : ::unsetenv(CaptureSource::kCameraVariable);
        EXPECT_EQ(CaptureSource::ChosenCamera(), c.camera) << (c.value ? c.value : "unset");
    }
    ::unsetenv(CaptureSource::kCameraVariable);
    ASSERT_EQ(messages.Messages().size(), 4u) << "each value that is not a camera number";
    EXPECT_EQ(messages.Messages()[0].caption, kApplicationTitle);
    EXPECT_NE(messages.Messages()[0].text.find("BRUMARIA_CAMERA=\"uno\""), std::string::npos);
}

TEST(CaptureSource, MissingCamerasAndFilesThatAreNoVideoFailQuietly)
{
    TemporaryFolder folder;
    TemporaryFolder::Write("vacio.avi", "");
    TemporaryFolder::Write("roto.avi", "no es un video");
    testing::internal::CaptureStderr();
    ::setenv(CaptureSource::kCameraVariable, "57", 1);
    EXPECT_EQ(CaptureSource::OpenCamera(), nullptr);
    ::unsetenv(CaptureSource::kCameraVariable);
    const bool anyDevice = std::filesystem::exists("/dev/video0");
    EXPECT_TRUE(anyDevice || CaptureOpener().OpenCamera() == nullptr);
    for (const char* file : {"no-existe.avi", "vacio.avi", "roto.avi"})
        EXPECT_EQ(CaptureOpener().OpenFile(file), nullptr) << file;
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(CaptureSource, ReadsColourAndGreyAvisFrameByFrameUntilTheyEnd)
{
    TemporaryFolder folder;
    std::vector<cv::Mat> frames;
    for (int i = 0; i < 6; ++i)
        frames.push_back(FaceFrame({10.0 * i, 0.0, 1.0, 0.0}));
    WriteVideo("cara.avi", frames);
    std::unique_ptr<VideoSource> source = CaptureOpener().OpenFile("cara.avi");
    ASSERT_NE(source, nullptr);
    EXPECT_DOUBLE_EQ(source->FrameRate(), 25.0);
    for (int i = 0; i < 6; ++i) {
        const VideoFrame* frame = source->QueryFrame();
        ASSERT_NE(frame, nullptr) << i;
        ASSERT_EQ(frame->image.type(), CV_8UC3);
        EXPECT_EQ(frame->origin, TopLeftOrigin);
        // MJPG is lossy: close to the picture written, farther from its neighbour.
        const double error = cv::norm(frame->image, frames[i], cv::NORM_L1) / frames[i].total();
        EXPECT_LT(error, 12.0) << i;
        EXPECT_GT(cv::norm(frame->image, frames[(i + 1) % 6], cv::NORM_L1) / frames[i].total(), error) << i;
    }
    EXPECT_EQ(source->QueryFrame(), nullptr);
    EXPECT_EQ(source->QueryFrame(), nullptr);

    // A grey-scale codec comes as 8-bit BGR too.
    cv::VideoWriter grey("gris.avi", cv::VideoWriter::fourcc('Y', '8', '0', '0'), 25.0, cv::Size(640, 480), false);
    ASSERT_TRUE(grey.isOpened());
    cv::Mat luminance;
    cv::cvtColor(frames[0], luminance, cv::COLOR_BGR2GRAY);
    grey.write(luminance);
    grey.release();
    source = CaptureOpener().OpenFile("gris.avi");
    ASSERT_NE(source, nullptr);
    const VideoFrame* frame = source->QueryFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->image.type(), CV_8UC3);
    cv::cvtColor(luminance, luminance, cv::COLOR_GRAY2BGR);
    EXPECT_LT(cv::norm(frame->image, luminance, cv::NORM_L1) / luminance.total(), 12.0);
}
