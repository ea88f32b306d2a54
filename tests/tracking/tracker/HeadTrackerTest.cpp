#include "tracking/CHeadTracker.h"

#include "app/core/LevelCamera.h"
#include "platform/MessageBox.h"
#include "tests/support/TemporaryFolder.h"
#include "tests/support/tracking/DebugWindowRecorder.h"
#include "tests/support/tracking/FrameSequenceSource.h"
#include "tests/support/tracking/HeadScenes.h"
#include "tests/support/tracking/PreparedSourceOpener.h"
#include "tracking/FacePlacement.h"
#include "tracking/capture/CaptureSource.h"
#include "tracking/capture/V4l2CameraLister.h"
#include "world/CCamera.h"
#include "world/CLevelMap.h"

#include <gtest/gtest.h>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <filesystem>

#include <stdlib.h>

using namespace headscenes;

namespace {

auto Box(const FacePlacement& place)
{
    return std::make_tuple(place.insetX, place.insetY, place.left, place.top, place.right, place.bottom);
}

TEST(FacePlacement, PointsAndSearchRegionInTheirPrecisions)
{
    const cv::Rect face(10, 20, 30, 40);
    // Normal mode: found on the half-size image; precise mode: on the full frame.
    const FacePlacement half = FacePlacement::ForNewFace(face, 2);
    EXPECT_EQ(half.points, (std::array<float, 6>{38.6f, 72.0f, 61.4f, 72.0f, 50.0f, 102.4f}));
    EXPECT_EQ(half.wholePoints, (std::array<int, 6>{38, 72, 61, 72, 50, 102}));
    EXPECT_EQ(Box(half), std::make_tuple(9.0f, 4.8f, 29, 44, 71, 115));
    EXPECT_EQ(Box(FacePlacement::ForNewFace(face, 1)), std::make_tuple(4.5f, 2.4f, 14, 22, 35, 57));
    // Found again: points and insets truncated first.
    EXPECT_EQ(Box(FacePlacement::ForFoundAgain(face, 1)), std::make_tuple(4.0f, 2.0f, 14, 22, 36, 58));
    // (0.69 x 150) x 2 is 206.99999999999997 in double precision, 207 once rounded to float.
    EXPECT_EQ(FacePlacement::ForNewFace(cv::Rect(0, 0, 150, 150), 2).wholePoints[2], 207);
    EXPECT_EQ(FacePlacement::ForFoundAgain(cv::Rect(0, 0, 150, 150), 2).wholePoints[2], 206);
}

TEST(FaceDetector, AMissingOrUnreadableCascadeIsReportedOnceAndFindsNothing)
{
    for (const std::string file : {"/nonexistent/caras.xml", BRUMARIA_SOURCE_DIR "/tests/data/astronaut.png"}) {
        ::setenv(FaceDetector::kCascadeVariable, file.c_str(), 1);
        MessageCapture messages;
        FaceDetector detector;
        EXPECT_TRUE(detector.Detect(FaceFrame(), false).empty());
        EXPECT_TRUE(detector.Detect(FaceFrame(), true).empty());
        ASSERT_EQ(messages.Messages().size(), 1u) << file;
        EXPECT_EQ(messages.Messages()[0].caption, kApplicationTitle);
        EXPECT_NE(messages.Messages()[0].text.find(file), std::string::npos);
    }
    ::unsetenv(FaceDetector::kCascadeVariable);
}

TEST(FaceDetector, NormalModeSearchesAtHalfSizePreciseModeAtFullSize)
{
    MessageCapture messages;
    FaceDetector detector;
    // The face is 160 pixels wide around (320, 210); the full frame may give a stray rectangle
    // on the suit too, with fewer neighbours.
    const cv::Rect half = detector.Detect(FaceFrame(), false).at(0);
    const cv::Rect full = detector.Detect(FaceFrame(), true).at(0);
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_LT(cv::norm(cv::Point2d(half.tl() + half.br()) - cv::Point2d(320, 210)), 16.0) << "twice the half centre";
    EXPECT_LT(cv::norm(cv::Point2d(full.tl() + full.br()) * 0.5 - cv::Point2d(320, 210)), 8.0);
    EXPECT_NEAR(half.width * 2, full.width, 0.2 * full.width);

    // No face in a wall; the result is reused, so results never pile up.
    const std::vector<cv::Rect>& first = detector.Detect(FaceFrame(), false);
    EXPECT_EQ(&detector.Detect(WallFrame(), false), &first);
    EXPECT_TRUE(first.empty());
    EXPECT_TRUE(detector.Detect(WallFrame(), true).empty());
}

TEST(CaptureSource, CameraVariablePicksACameraByNumber)
{
    MessageCapture messages;
    const std::pair<const char*, std::optional<int>> cases[] = {
        {nullptr, std::nullopt}, {"", std::nullopt},   {"1", 1}, {"uno", std::nullopt}, {"-1", std::nullopt},
        {"2x", std::nullopt},    {"100", std::nullopt}};
    for (const auto& [value, camera] : cases) {
        value ? ::setenv(CaptureSource::kCameraVariable, value, 1) : ::unsetenv(CaptureSource::kCameraVariable);
        EXPECT_EQ(CaptureSource::ChosenCamera(), camera) << (value ? value : "unset");
    }
    ::unsetenv(CaptureSource::kCameraVariable);
    ASSERT_EQ(messages.Messages().size(), 4u) << "each value that is not a camera number";
    EXPECT_EQ(messages.Messages()[0].caption, kApplicationTitle);
    EXPECT_NE(messages.Messages()[0].text.find("BRUMARIA_CAMERA=\"uno\""), std::string::npos);
}

// No camera at all, "Ninguna", files that are no video, and video devices without a Video4Linux
// driver are answered by the result alone (a camera that was named is reported: CameraMenuTest).
TEST(CaptureSource, FailuresToOpenAndEmptyCameraListsAreQuiet)
{
    TemporaryFolder folder;
    TemporaryFolder::Write("roto.avi", "no es un video");
    MessageCapture messages;
    testing::internal::CaptureStderr();
    CameraChoice none;
    none.kind = CameraChoice::Kind::NoCamera;
    EXPECT_EQ(CaptureSource::OpenCamera(none), nullptr);
    if (!std::filesystem::exists("/dev/video0")) {
        EXPECT_EQ(CaptureOpener().OpenCamera(), nullptr);
    }
    for (const char* file : {"no-existe.avi", "roto.avi"})
        EXPECT_EQ(CaptureOpener().OpenFile(file), nullptr) << file;
    EXPECT_TRUE(V4l2CameraLister("sin-clase", "sin-dispositivos").Devices().empty());
    for (const char* entry : {"clase/video0", "clase/video1", "clase/media0", "dev"})
        std::filesystem::create_directories(entry);
    TemporaryFolder::Write("clase/video0/name", "Cámara falsa\n");
    std::filesystem::create_symlink("/dev/null", "dev/video0");
    EXPECT_TRUE(V4l2CameraLister("clase", "dev").Devices().empty()) << "video0 answers no query, video1 has no node";
    if (!std::filesystem::exists("/sys/class/video4linux")) {
        EXPECT_TRUE(V4l2CameraLister().Cameras().empty());
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(messages.Messages().empty());
}

// A tracker in a temporary working folder, with recorded windows and the world attached; its
// "webcam" serves the frames given, then stops answering; its video files are real.
class HeadTrackerTest : public ::testing::Test {
protected:
    HeadTrackerTest() { tracker.SetCamera(&steeredCamera); }

    FrameSequenceSource& Start(std::vector<cv::Mat> frames, ImageOrigin origin = TopLeftOrigin)
    {
        auto source = std::make_unique<FrameSequenceSource>(std::move(frames), 25.0, origin);
        FrameSequenceSource& served = *source;
        opener.PrepareCamera(std::move(source));
        EXPECT_TRUE(tracker.StartWebcam());
        return served;
    }
    // Opens a real video file through OpenCV's capture.
    double OpenFile(const std::string& file)
    {
        opener.PrepareFile(file, CaptureSource::OpenFile(file));
        return tracker.OpenVideoFile(file);
    }
    // Captures until three in a row grab nothing (a frame that cannot be decoded grabs nothing
    // too); the number of frames grabbed.
    int PlayToTheEnd()
    {
        int grabbed = 0;
        for (int missed = 0, tries = 0; missed < 3 && tries < 100; ++tries) {
            const bool got = tracker.GrabAndProcess();
            grabbed += got;
            missed = got ? 0 : missed + 1;
            tracker.InterpretBetweenFrames();
        }
        EXPECT_FALSE(tracker.GrabAndProcess()) << "the file ends and stays ended";
        return grabbed;
    }
    void Grab(int frames)
    {
        for (int i = 0; i < frames; ++i)
            ASSERT_TRUE(tracker.GrabAndProcess());
    }
    const CTrackedFace& Face(std::size_t i = 0) const { return *tracker.TrackedFaces().at(i); }
    double EyeMidX(std::size_t i = 0) const { return (Face(i).LeftEyeX() + Face(i).RightEyeX()) * 0.5; }
    const RestPose& Rest() const { return tracker.Interpreter().Rest(); }

    TemporaryFolder folder;
    DebugWindowRecorder windows;
    PreparedSourceOpener opener;
    CLevelMap levelMap;
    CCamera camera;
    LevelCamera steeredCamera{camera, levelMap};
    CHeadTracker tracker{windows, opener};
};

TEST_F(HeadTrackerTest, TheFirstFaceFoundGivesTheRestPoseInEitherMode)
{
    for (const bool precise : {false, true}) {
        SCOPED_TRACE(precise ? "precise" : "normal");
        tracker.SetPreciseDetection(precise);
        const cv::Mat frame = FaceFrame();
        Start({frame, frame});
        windows.Clear();
        const std::uint32_t samples = MotionInterpreter::SampleCount();
        Grab(1);
        EXPECT_EQ(tracker.State(), Tracking);
        EXPECT_FALSE(CHeadTracker::FreshStart());
        EXPECT_EQ(Face().FaceModel(), tracker.FaceModels().at(0).get());
        // Straight from the rectangle, in single precision.
        FaceDetector detector;
        const FacePlacement place = FacePlacement::ForNewFace(detector.Detect(frame, precise).at(0), precise ? 1 : 2);
        EXPECT_FLOAT_EQ(Rest().restEyeCentreX, place.points[0] + (place.points[2] - place.points[0]) * 0.5f);
        EXPECT_FLOAT_EQ(Rest().restEyeMouth, place.points[5] - place.points[1]);
        EXPECT_EQ(Face().MouthY(), place.wholePoints[5]);
        EXPECT_GT(tracker.Measures().ReferenceColumnValue(), 0.0f) << "calibrated";
        ASSERT_EQ(windows.Shown(CHeadTracker::kImageWindow).size(), 1u);
        EXPECT_EQ(cv::norm(windows.Shown(CHeadTracker::kImageWindow)[0], frame, cv::NORM_INF), 0.0)
            << "the plain frame";

        // A tracking step: one sample (the detection gave none), and the features marked in white.
        Grab(1);
        EXPECT_EQ(MotionInterpreter::SampleCount(), samples + 1);
        cv::Mat white;
        cv::inRange(windows.Shown(CHeadTracker::kImageWindow).at(1), cv::Scalar::all(255), cv::Scalar::all(255), white);
        EXPECT_GT(cv::countNonZero(white), 100);
    }
}

TEST_F(HeadTrackerTest, BottomLeftFramesAreAnalysedUprightAndHandedBackAsTheyCame)
{
    const cv::Mat moved = FaceFrame({0.0, 6.0, 1.0, 0.0});
    FrameSequenceSource& source = Start({FaceFrame(), moved}, BottomLeftOrigin);
    Grab(1);
    EXPECT_NEAR(Rest().restEyeY, 193.0, 10.0) << "upright";
    const double eyeY = Face().LeftEyeY();
    Grab(1);
    ASSERT_EQ(tracker.State(), Tracking);
    EXPECT_NEAR(Face().LeftEyeY() - eyeY, 6.0, 2.0);
    EXPECT_EQ(source.LastFrame().origin, BottomLeftOrigin);
    EXPECT_EQ(cv::norm(source.LastFrame().image, source.LastServed(), cv::NORM_INF), 0.0);
    EXPECT_LT(cv::norm(windows.Shown(CHeadTracker::kImageWindow).at(1), moved, cv::NORM_L1) / moved.total(), 3.0);
}

TEST_F(HeadTrackerTest, ALossKeepsModelAndRestPoseAndOnlyFaceZeroIsFollowedWhenFoundAgain)
{
    Start({FaceFrame(), FaceFrame(), WallFrame(), TwoFacesFrame(), TwoFacesFrame()});
    Grab(3);
    EXPECT_EQ(tracker.State(), Detecting);
    const RestPose rest = Rest();
    const CFaceModel* model = tracker.FaceModels().at(0).get();
    // Found again, twice over and elsewhere: one tracked face, on the old model, at its new place.
    Grab(1);
    EXPECT_EQ(tracker.State(), Tracking);
    ASSERT_EQ(tracker.TrackedFaces().size(), 1u);
    EXPECT_EQ(Face().FaceModel(), model);
    EXPECT_GT(std::abs(EyeMidX() - rest.restEyeCentreX), 100.0);
    EXPECT_EQ(std::make_tuple(Rest().restEyeCentreX, Rest().restFaceCentreY, Rest().restEyeMouth),
              std::make_tuple(rest.restEyeCentreX, rest.restFaceCentreY, rest.restEyeMouth));
    Grab(1);
    EXPECT_EQ(tracker.FrameCounter(), 3) << "tracking steps only";
}

TEST_F(HeadTrackerTest, ResetDetectsAtOnceWithANewRestPoseAndTracksAfterOneMoreDetection)
{
    const cv::Mat shifted = FaceFrame({-40.0, 0.0, 1.0, 0.0});
    Start({FaceFrame(), shifted, shifted, shifted});
    Grab(2);
    const float oldRestX = Rest().restEyeCentreX;
    tracker.ResetTracking();
    EXPECT_EQ(tracker.State(), Detecting);
    EXPECT_NEAR(Rest().restEyeCentreX, oldRestX - 40.0, 8.0);
    const float restX = Rest().restEyeCentreX;
    Grab(1);
    EXPECT_EQ(std::make_tuple(tracker.State(), Rest().restEyeCentreX), std::make_tuple(Tracking, restX));

    // The last frame belonged to the old source: nothing is left to detect in.
    Start({WallFrame()});
    tracker.ResetTracking();
    EXPECT_TRUE(tracker.FaceModels().empty());
}

TEST_F(HeadTrackerTest, OfSeveralFacesFaceZeroGivesTheRestPose)
{
    Start({TwoFacesFrame()});
    Grab(1);
    ASSERT_EQ(tracker.TrackedFaces().size(), 2u);
    EXPECT_EQ(Face(1).FaceModel(), tracker.FaceModels().at(1).get());
    ASSERT_GT(std::abs(EyeMidX(0) - EyeMidX(1)), 200.0);
    EXPECT_NEAR(Rest().restEyeCentreX, EyeMidX(0), 1.0);
}

TEST_F(HeadTrackerTest, ViewsShowWhileSwitchedOnAndCameraOffStaysOff)
{
    tracker.OpenImageWindow();
    tracker.SetImageView(false);
    tracker.SetFrameAView(true);
    tracker.SetFrameBView(true);
    Start({FaceFrame(), FaceFrame(), WallFrame(), FaceFrame(), FaceFrame()});
    Grab(5);
    EXPECT_TRUE(windows.Shown("Imagen").empty());
    EXPECT_EQ(windows.Shown("Frame").size(), 4u) << "two detections, two tracking steps";
    EXPECT_EQ(windows.Shown("Frame B").size(), 2u);
    EXPECT_EQ(windows.OpenWindows(), (std::vector<std::string>{"Frame", "Frame B"}));
    tracker.SetFrameAView(false);
    tracker.SetFrameBView(false);
    EXPECT_TRUE(windows.OpenWindows().empty());
}

TEST_F(HeadTrackerTest, WhenTheWebcamIsGoneTheHeldHeadKeepsSteeringBetweenCaptures)
{
    // Still for the smoothing, then held 120 pixels to the left.
    std::vector<cv::Mat> frames(6, FaceFrame());
    for (int step = 1; step <= 25; ++step)
        frames.push_back(FaceFrame({-6.0 * std::min(step, 20), 0.0, 1.0, 0.0}));
    Start(frames);
    Grab(static_cast<int>(frames.size()));
    EXPECT_FALSE(tracker.GrabAndProcess());
    ASSERT_EQ(tracker.State(), Tracking);
    for (int pass = 0; pass < 3; ++pass) {
        const float x = camera.Eye().x;
        tracker.InterpretBetweenFrames();
        EXPECT_GT(camera.Eye().x, x) << "side-steps right, pass " << pass;
    }
    tracker.ResetTracking();
    EXPECT_NEAR(Rest().restEyeCentreX, 320.0f - 120.0f, 10.0f) << "found in the last picture";
}

TEST_F(HeadTrackerTest, EmptyOrDamagedFilesAndOtherFrameSizesGiveWhatCanBeDecodedThenEnd)
{
    EXPECT_FALSE(tracker.StartWebcam()) << "no camera";
    TemporaryFolder::Write("vacio.avi", "");
    EXPECT_EQ(OpenFile("vacio.avi"), 0.0);
    EXPECT_FALSE(tracker.GrabAndProcess());
    const std::vector<cv::Mat> frames(12, FaceFrame());
    WriteVideo("cara.avi", frames);
    std::string bytes = TemporaryFolder::Read("cara.avi");
    TemporaryFolder::Write("cortado.avi", bytes.substr(0, bytes.size() / 2));
    ASSERT_GT(OpenFile("cortado.avi"), 0.0) << "the header is intact";
    const int grabbed = PlayToTheEnd();
    EXPECT_GE(grabbed, 3);
    EXPECT_LT(grabbed, 12);
    EXPECT_EQ(tracker.State(), Tracking) << "the face was found in what was left";

    // Noise over the middle half: pictures and index.
    std::uint32_t noise = 12345;
    for (std::size_t i = bytes.size() / 4; i < bytes.size() * 3 / 4; ++i)
        bytes[i] = static_cast<char>((noise = noise * 1664525u + 1013904223u) >> 24);
    TemporaryFolder::Write("danado.avi", bytes);
    OpenFile("danado.avi");
    EXPECT_LE(PlayToTheEnd(), 12) << "whether it opens or not";

    // Other frame sizes, and a grey-scale codec (read as 8-bit BGR like any other).
    cv::Mat large, small, grey;
    cv::resize(frames[0], large, {960, 720}, 0, 0, cv::INTER_AREA);
    cv::resize(frames[0], small, {320, 240}, 0, 0, cv::INTER_AREA);
    cv::cvtColor(frames[0], grey, cv::COLOR_BGR2GRAY);
    for (const cv::Mat& other : {large, small, grey}) {
        WriteVideo("otro.avi", std::vector<cv::Mat>(12, other));
        ASSERT_GT(OpenFile("otro.avi"), 0.0);
        EXPECT_EQ(PlayToTheEnd(), 12) << other.size() << " " << other.channels();
        EXPECT_EQ(tracker.State(), Tracking) << other.size() << " " << other.channels();
    }
}

TEST(HeadTrackerEnd, DestroyingTheTrackerCompletesTheSampleFiles)
{
    TemporaryFolder folder;
    {
        DebugWindowRecorder windows;
        PreparedSourceOpener opener;
        CHeadTracker tracker(windows, opener);
    }
    EXPECT_EQ(TemporaryFolder::Read("muestrasGiroZ.m"), "giroZ =[0]\ngiroZ = [(1:columns(giroZ)); giroZ]'");
}

}  // namespace
