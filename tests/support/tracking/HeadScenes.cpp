#include "tests/support/tracking/HeadScenes.h"

#include "tracking/FaceDetector.h"

#include <gtest/gtest.h>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>
#include <opencv2/videoio.hpp>

namespace headscenes {

namespace {

const cv::Mat& Portrait()
{
    static const cv::Mat portrait = cv::imread(BRUMARIA_SOURCE_DIR "/tests/data/astronaut.png", cv::IMREAD_COLOR);
    EXPECT_FALSE(portrait.empty()) << "tests/data/astronaut.png is missing";
    return portrait;
}

// The face in the portrait, as the detector finds it on the full picture.
const cv::Rect& PortraitFace()
{
    static const cv::Rect face = [] {
        FaceDetector detector(FaceDetector::kDefaultCascadeFile);
        const std::vector<cv::Rect>& found = detector.Detect(Portrait(), true);
        EXPECT_EQ(found.size(), 1u) << "faces in the portrait";
        return found.empty() ? cv::Rect() : found[0];
    }();
    return face;
}

}  // namespace

const HeadVideoWriter& Writer()
{
    static const HeadVideoWriter writer(Portrait(), PortraitFace());
    return writer;
}

cv::Mat FaceFrame(const HeadPose& pose)
{
    return Writer().Frame(pose);
}

cv::Mat WallFrame()
{
    cv::Mat wall(480, 640, CV_8UC3, cv::Scalar(60, 70, 150));
    for (int y = 0; y < wall.rows; y += 28) {
        cv::line(wall, {0, y}, {wall.cols, y}, cv::Scalar(190, 200, 205), 4);
        for (int x = (y / 28) % 2 * 40; x < wall.cols; x += 80)
            cv::line(wall, {x, y}, {x, y + 28}, cv::Scalar(190, 200, 205), 4);
    }
    return wall;
}

cv::Mat TwoFacesFrame()
{
    HeadVideoSettings settings;
    settings.faceWidth = 150.0;
    settings.anchor = {170.0, 220.0};
    cv::Mat frame = HeadVideoWriter(Portrait(), PortraitFace(), settings).Frame({});
    settings.anchor.x = 470.0;
    HeadVideoWriter(Portrait(), PortraitFace(), settings).Frame({}).colRange(320, 640).copyTo(frame.colRange(320, 640));
    return frame;
}

void WriteVideo(const std::string& file, const std::vector<cv::Mat>& frames)
{
    const bool colour = frames.at(0).channels() == 3;
    const int codec =
        colour ? cv::VideoWriter::fourcc('M', 'J', 'P', 'G') : cv::VideoWriter::fourcc('Y', '8', '0', '0');
    cv::VideoWriter video(file, codec, 25.0, frames.at(0).size(), colour);
    ASSERT_TRUE(video.isOpened()) << file;
    for (const cv::Mat& frame : frames)
        video.write(frame);
}

}  // namespace headscenes
