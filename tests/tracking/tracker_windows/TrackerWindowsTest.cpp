#include "tracking/CHeadTracker.h"

#include "tests/tracking/HeadScenes.h"
#include "tests/tracking/TemporaryFolder.h"
#include "tracking/FrameSequenceSource.h"
#include "tracking/PreparedSourceOpener.h"
#include "tracking/highgui/HighGuiWindows.h"

#include <gtest/gtest.h>
#include <opencv2/highgui.hpp>

using namespace headscenes;

namespace {

bool Exists(const std::string& name)
{
    return cv::getWindowProperty(name, cv::WND_PROP_AUTOSIZE) >= 0;
}

cv::Size ImageSize(const std::string& name)
{
    cv::waitKey(1);
    return cv::getWindowImageRect(name).size();
}

}

TEST(TrackerWindows, TheDebugViewsShowWhatTheTrackerSees)
{
    TemporaryFolder folder;
    HighGuiWindows windows;
    // HighGUI can only be asked about windows while at least one exists.
    windows.Create("Testigo");
    PreparedSourceOpener opener;
    CHeadTracker tracker(windows, opener);
    std::vector<cv::Mat> frames;
    for (int i = 0; i < 4; ++i)
        frames.push_back(FaceFrame({2.0 * i, 0.0, 1.0, 0.0}));
    frames.push_back(WallFrame());
    frames.push_back(FaceFrame());
    opener.PrepareCamera(std::make_unique<FrameSequenceSource>(frames));
    ASSERT_TRUE(tracker.StartWebcam());

    tracker.OpenImageWindow();
    tracker.SetFrameAView(true);
    tracker.SetFrameBView(true);
    tracker.SetValuesView(true);
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(tracker.GrabAndProcess());
    ASSERT_EQ(tracker.State(), Tracking);
    EXPECT_EQ(ImageSize("Imagen"), cv::Size(640, 480));
    EXPECT_EQ(ImageSize("Frame"), cv::Size(400, 280));
    EXPECT_EQ(ImageSize("Frame B"), cv::Size(400, 370));
    EXPECT_TRUE(Exists("Parámetros"));

    // "Cámara" off: the window goes and stays gone, through a loss and a new detection.
    tracker.SetImageView(false);
    cv::waitKey(1);
    EXPECT_FALSE(Exists("Imagen"));
    ASSERT_TRUE(tracker.GrabAndProcess());
    ASSERT_TRUE(tracker.GrabAndProcess());
    ASSERT_EQ(tracker.State(), Tracking);
    cv::waitKey(1);
    EXPECT_FALSE(Exists("Imagen"));

    tracker.SetFrameAView(false);
    tracker.SetFrameBView(false);
    tracker.SetValuesView(false);
    cv::waitKey(1);
    EXPECT_FALSE(Exists("Frame"));
    EXPECT_FALSE(Exists("Frame B"));
    EXPECT_FALSE(Exists("Parámetros"));
    windows.Destroy("Testigo");
}
