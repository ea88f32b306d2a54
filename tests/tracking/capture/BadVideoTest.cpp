// Video files the player may pick that are not what the tracker expects: empty, cut short,
// damaged, of another frame size, grey. Each either cannot be opened (a frame rate of 0.0,
// play goes on with the keys) or gives the frames that can be decoded and then ends, and the
// tracker never breaks.
#include "tracking/CHeadTracker.h"

#include "tests/tracking/HeadScenes.h"
#include "tests/tracking/TemporaryFolder.h"
#include "tracking/NullDebugWindows.h"
#include "tracking/capture/CaptureSource.h"
#include "world/CCamera.h"
#include "world/CLevelMap.h"

#include <gtest/gtest.h>
#include <opencv2/imgproc.hpp>
#include <opencv2/videoio.hpp>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

using namespace headscenes;

namespace {

std::string ReadBytes(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& file, const std::string& bytes)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out) << file;
}

// Twelve frames of the face, still then moving right.
std::vector<cv::Mat> FaceFrames()
{
    std::vector<cv::Mat> frames(4, FaceFrame());
    for (int step = 1; step <= 8; ++step)
        frames.push_back(FaceFrame({4.0 * step, 0.0, 1.0, 0.0}));
    return frames;
}

class BadVideoTest : public ::testing::Test {
protected:
    BadVideoTest() { tracker.SetWorld(&camera, &levelMap); }

    // Captures until the file has ended (at most limit tries); the number of frames grabbed. A
    // frame that cannot be decoded is a capture that grabs nothing, as the main loop sees it;
    // three such in a row and no more to come mean the end.
    int PlayToTheEnd(int limit = 100)
    {
        int grabbed = 0;
        int missed = 0;
        for (int tries = 0; tries < limit && missed < 3; ++tries) {
            if (tracker.GrabAndProcess()) {
                ++grabbed;
                missed = 0;
            } else {
                ++missed;
            }
            tracker.InterpretBetweenFrames();
        }
        EXPECT_EQ(missed, 3) << "the file ends";
        for (int tries = 0; tries < 5; ++tries)
            EXPECT_FALSE(tracker.GrabAndProcess()) << "and stays ended";
        return grabbed;
    }

    void ExpectTheWorldIntact()
    {
        EXPECT_GE(levelMap.GetCurrentCell(), 0);
        EXPECT_LT(levelMap.GetCurrentCell(), CLevelMap::kCellCount);
        EXPECT_TRUE(std::isfinite(camera.Eye().x) && std::isfinite(camera.Eye().z));
    }

    TemporaryFolder folder;
    NullDebugWindows windows;
    CaptureOpener opener;
    CLevelMap levelMap;
    CCamera camera;
    CHeadTracker tracker{windows, opener};
};

TEST_F(BadVideoTest, AnEmptyFileCannotBeOpened)
{
    WriteBytes("vacio.avi", "");
    EXPECT_EQ(tracker.OpenVideoFile("vacio.avi"), 0.0);
    EXPECT_FALSE(tracker.HasCapture());
    EXPECT_FALSE(tracker.GrabAndProcess());
    EXPECT_EQ(tracker.State(), Detecting);
}

TEST_F(BadVideoTest, AFileCutShortGivesItsWholeFramesThenEnds)
{
    WriteVideo("cara.avi", FaceFrames());
    const std::string whole = ReadBytes("cara.avi");
    WriteBytes("cortado.avi", whole.substr(0, whole.size() / 2));

    ASSERT_GT(tracker.OpenVideoFile("cortado.avi"), 0.0) << "the header is intact";
    const int grabbed = PlayToTheEnd();
    EXPECT_GE(grabbed, 3);
    EXPECT_LT(grabbed, 12);
    EXPECT_EQ(tracker.State(), Tracking) << "the face was found in what was left";
    ExpectTheWorldIntact();
}

TEST_F(BadVideoTest, ADamagedFileGivesWhatCanBeDecodedThenEnds)
{
    WriteVideo("cara.avi", FaceFrames());
    std::string bytes = ReadBytes("cara.avi");
    // Noise over the middle half of the file: headers kept, pictures and index damaged.
    std::uint32_t state = 12345;
    for (std::size_t i = bytes.size() / 4; i < bytes.size() * 3 / 4; ++i) {
        state = state * 1664525u + 1013904223u;
        bytes[i] = static_cast<char>(state >> 24);
    }
    WriteBytes("danado.avi", bytes);

    if (tracker.OpenVideoFile("danado.avi") > 0.0)
        PlayToTheEnd();
    ExpectTheWorldIntact();

    // A damaged header: FFmpeg may still find the pictures by their own markers (and then
    // guesses a frame rate); either way the capture ends with the file.
    bytes = ReadBytes("cara.avi");
    for (std::size_t i = 0; i < 256; ++i)
        bytes[i] = static_cast<char>(i * 7 + 3);
    WriteBytes("cabecera.avi", bytes);
    if (tracker.OpenVideoFile("cabecera.avi") > 0.0) {
        EXPECT_LE(PlayToTheEnd(), 12);
    } else {
        EXPECT_FALSE(tracker.GrabAndProcess());
    }
    ExpectTheWorldIntact();
}

TEST_F(BadVideoTest, OtherFrameSizesAreTrackedAtTheirOwnSize)
{
    for (const cv::Size size : {cv::Size(960, 720), cv::Size(320, 240)}) {
        std::vector<cv::Mat> frames = FaceFrames();
        for (cv::Mat& frame : frames)
            cv::resize(frame, frame, size, 0, 0, cv::INTER_AREA);
        WriteVideo("tamano.avi", frames);
        ASSERT_GT(tracker.OpenVideoFile("tamano.avi"), 0.0);
        EXPECT_EQ(PlayToTheEnd(), 12) << size;
        if (size.width > 640) {
            EXPECT_EQ(tracker.State(), Tracking) << size;
        }
        ExpectTheWorldIntact();
    }
}

TEST_F(BadVideoTest, AGreyVideoIsReadInColourAndTracked)
{
    {
        cv::VideoWriter grey("gris.avi", cv::VideoWriter::fourcc('Y', '8', '0', '0'), 25.0, cv::Size(640, 480), false);
        ASSERT_TRUE(grey.isOpened());
        for (const cv::Mat& frame : FaceFrames()) {
            cv::Mat luminance;
            cv::cvtColor(frame, luminance, cv::COLOR_BGR2GRAY);
            grey.write(luminance);
        }
    }
    std::unique_ptr<VideoSource> source = opener.OpenFile("gris.avi");
    ASSERT_NE(source, nullptr);
    const VideoFrame* first = source->QueryFrame();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->image.type(), CV_8UC3);
    EXPECT_EQ(first->image.size(), cv::Size(640, 480));

    ASSERT_GT(tracker.OpenVideoFile("gris.avi"), 0.0);
    EXPECT_EQ(PlayToTheEnd(), 12);
    EXPECT_EQ(tracker.State(), Tracking);
    ExpectTheWorldIntact();
}

}  // namespace
