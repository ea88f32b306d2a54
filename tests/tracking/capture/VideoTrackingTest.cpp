#include "tracking/CHeadTracker.h"

#include "tests/tracking/HeadScenes.h"
#include "tests/tracking/TemporaryFolder.h"
#include "tracking/NullDebugWindows.h"
#include "tracking/capture/CaptureSource.h"
#include "world/CCamera.h"
#include "world/CLevelMap.h"

#include <gtest/gtest.h>
#include <opencv2/imgproc.hpp>

#include <cmath>

using namespace headscenes;

namespace {

// The tracker over real AVI files, steering a camera through the level map.
class VideoTrackingTest : public ::testing::Test {
protected:
    VideoTrackingTest() { tracker.SetWorld(&camera, &levelMap); }

    // Captures until the file has ended: three captures in a row that grab nothing (a frame that
    // cannot be decoded grabs nothing too), then no more. The number of frames grabbed.
    int PlayToTheEnd()
    {
        int grabbed = 0;
        for (int missed = 0, tries = 0; missed < 3 && tries < 100; ++tries) {
            const bool got = tracker.GrabAndProcess();
            grabbed += got;
            missed = got ? 0 : missed + 1;
            tracker.InterpretBetweenFrames();
        }
        for (int tries = 0; tries < 3; ++tries)
            EXPECT_FALSE(tracker.GrabAndProcess()) << "the file ends and stays ended";
        EXPECT_TRUE(std::isfinite(camera.Eye().x) && std::isfinite(camera.Eye().z));
        return grabbed;
    }

    TemporaryFolder folder;
    NullDebugWindows windows;
    CaptureOpener opener;
    CLevelMap levelMap;
    CCamera camera;
    CHeadTracker tracker{windows, opener};
};

TEST_F(VideoTrackingTest, FindsTheFaceInTheFirstFrameAndFollowsItToTheEnd)
{
    std::string error;
    const std::optional<MotionScript> script = MotionScript::Parse("still:5,right:40", error);
    ASSERT_TRUE(Writer().Write(*script, "cara.avi", "cara.csv", error)) << error;
    EXPECT_DOUBLE_EQ(tracker.OpenVideoFile("cara.avi"), 25.0);
    ASSERT_TRUE(tracker.GrabAndProcess());
    ASSERT_EQ(tracker.State(), Tracking);
    const CTrackedFace& face = *tracker.TrackedFaces()[0];
    const cv::Point2d start((face.Eye1X() + face.Eye2X()) * 0.5, face.Eye1Y());
    EXPECT_NEAR(start.x, 320.0, 6.0);
    for (int i = 1; i < script->Frames(); ++i) {
        ASSERT_TRUE(tracker.GrabAndProcess()) << i;
        ASSERT_EQ(tracker.State(), Tracking) << i;
        EXPECT_NEAR((face.Eye1X() + face.Eye2X()) * 0.5 - start.x, script->PoseAt(i).shiftX, 3.0) << i;
        EXPECT_NEAR(face.Eye1Y() - start.y, 0.0, 3.0) << i;
    }
    EXPECT_FALSE(tracker.GrabAndProcess());
    EXPECT_EQ(tracker.FrameCounter(), script->Frames() - 1);
}

TEST_F(VideoTrackingTest, AVideoWithoutAFaceNeverLeavesDetectingNorMovesTheCamera)
{
    WriteVideo("pared.avi", std::vector<cv::Mat>(20, WallFrame()));
    const std::uint32_t samples = MotionInterpreter::SampleCount();
    ASSERT_GT(tracker.OpenVideoFile("pared.avi"), 0.0);
    EXPECT_EQ(PlayToTheEnd(), 20);
    EXPECT_EQ(tracker.State(), Detecting);
    EXPECT_EQ(MotionInterpreter::SampleCount(), samples);
    EXPECT_TRUE(camera.Eye() == CCamera().Eye() && camera.LookAt() == CCamera().LookAt());
}

TEST_F(VideoTrackingTest, DamagedFilesAndOtherFrameSizesGiveWhatCanBeDecodedThenEnd)
{
    std::vector<cv::Mat> frames(4, FaceFrame());
    for (int step = 1; step <= 8; ++step)
        frames.push_back(FaceFrame({4.0 * step, 0.0, 1.0, 0.0}));
    WriteVideo("cara.avi", frames);
    const std::string whole = TemporaryFolder::Read("cara.avi");
    TemporaryFolder::Write("cortado.avi", whole.substr(0, whole.size() / 2));
    ASSERT_GT(tracker.OpenVideoFile("cortado.avi"), 0.0) << "the header is intact";
    const int grabbed = PlayToTheEnd();
    EXPECT_TRUE(grabbed >= 3 && grabbed < 12) << grabbed;
    EXPECT_EQ(tracker.State(), Tracking) << "the face was found in what was left";

    // Noise over the middle half (pictures and index), then over the header: FFmpeg may still
    // find the pictures by their markers, or the file cannot be opened.
    std::string damaged = whole;
    std::uint32_t state = 12345;
    for (std::size_t i = whole.size() / 4; i < whole.size() * 3 / 4; ++i)
        damaged[i] = static_cast<char>((state = state * 1664525u + 1013904223u) >> 24);
    TemporaryFolder::Write("danado.avi", damaged);
    for (std::size_t i = 0; i < 256; ++i)
        damaged[i] = static_cast<char>(i * 7 + 3);
    TemporaryFolder::Write("cabecera.avi", damaged);
    for (const char* file : {"danado.avi", "cabecera.avi"}) {
        if (tracker.OpenVideoFile(file) > 0.0)
            EXPECT_LE(PlayToTheEnd(), 12) << file;
        else
            EXPECT_FALSE(tracker.GrabAndProcess()) << file;
    }

    for (const cv::Size size : {cv::Size(960, 720), cv::Size(320, 240)}) {
        std::vector<cv::Mat> resized(frames.size());
        for (std::size_t i = 0; i < frames.size(); ++i)
            cv::resize(frames[i], resized[i], size, 0, 0, cv::INTER_AREA);
        WriteVideo("tamano.avi", resized);
        ASSERT_GT(tracker.OpenVideoFile("tamano.avi"), 0.0);
        EXPECT_EQ(PlayToTheEnd(), 12) << size;
    }
    EXPECT_EQ(tracker.State(), Tracking) << "a smaller face is still followed";
}

} // namespace
