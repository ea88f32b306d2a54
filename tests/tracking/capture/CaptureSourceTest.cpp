#include "tracking/capture/CaptureSource.h"

#include "platform/MessageBox.h"
#include "tests/tracking/HeadScenes.h"
#include "tests/tracking/ScopedEnvironment.h"
#include "tests/tracking/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace headscenes;

namespace {

bool MachineHasAVideoDevice()
{
    for (const auto& entry : std::filesystem::directory_iterator("/dev")) {
        if (entry.path().filename().string().rfind("video", 0) == 0)
            return true;
    }
    return false;
}

}

TEST(CaptureSource, CameraVariablePicksACameraByNumber)
{
    MessageCapture messages;
    {
        ScopedEnvironment unset(CaptureSource::kCameraVariable, std::nullopt);
        EXPECT_EQ(CaptureSource::ChosenCamera(), std::nullopt);
    }
    {
        ScopedEnvironment empty(CaptureSource::kCameraVariable, std::string());
        EXPECT_EQ(CaptureSource::ChosenCamera(), std::nullopt);
    }
    {
        ScopedEnvironment second(CaptureSource::kCameraVariable, std::string("1"));
        EXPECT_EQ(CaptureSource::ChosenCamera(), 1);
    }
    EXPECT_TRUE(messages.Messages().empty());
    for (const char* wrong : {"uno", "-1", "2x", "100"}) {
        ScopedEnvironment bad(CaptureSource::kCameraVariable, std::string(wrong));
        EXPECT_EQ(CaptureSource::ChosenCamera(), std::nullopt) << wrong;
    }
    ASSERT_EQ(messages.Messages().size(), 4u);
    EXPECT_EQ(messages.Messages()[0].caption, kApplicationTitle);
    EXPECT_NE(messages.Messages()[0].text.find("BRUMARIA_CAMERA=\"uno\""), std::string::npos);
}

TEST(CaptureSource, AMissingCameraFailsQuietly)
{
    {
        ScopedEnvironment absent(CaptureSource::kCameraVariable, std::string("57"));
        testing::internal::CaptureStderr();
        EXPECT_EQ(CaptureSource::OpenCamera(), nullptr);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    }
    if (MachineHasAVideoDevice())
        GTEST_SKIP() << "this machine has a video device";
    ScopedEnvironment any(CaptureSource::kCameraVariable, std::nullopt);
    testing::internal::CaptureStderr();
    EXPECT_EQ(CaptureOpener().OpenCamera(), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(CaptureSource, AFileThatCannotBeOpenedFailsQuietly)
{
    TemporaryFolder folder;
    std::FILE* notVideo = std::fopen("roto.avi", "w");
    ASSERT_NE(notVideo, nullptr);
    std::fputs("no es un video", notVideo);
    std::fclose(notVideo);

    testing::internal::CaptureStderr();
    EXPECT_EQ(CaptureSource::OpenFile("no-existe.avi"), nullptr);
    EXPECT_EQ(CaptureOpener().OpenFile("roto.avi"), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(CaptureSource, ReadsAnAviFileFrameByFrameUntilItEnds)
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
        VideoFrame* frame = source->QueryFrame();
        ASSERT_NE(frame, nullptr) << "frame " << i;
        EXPECT_EQ(frame->origin, TopLeftOrigin);
        ASSERT_EQ(frame->image.size(), cv::Size(640, 480));
        ASSERT_EQ(frame->image.type(), CV_8UC3);
        // MJPG is lossy: close to the picture written, far from its neighbour.
        const double error = cv::norm(frame->image, frames[i], cv::NORM_L1) / frames[i].total();
        EXPECT_LT(error, 12.0) << "frame " << i;
        if (i > 0) {
            EXPECT_GT(cv::norm(frame->image, frames[i - 1], cv::NORM_L1) / frames[i].total(), error);
        }
    }
    EXPECT_EQ(source->QueryFrame(), nullptr);
    EXPECT_EQ(source->QueryFrame(), nullptr);
}
