#include "tools/headvideo/HeadVideoWriter.h"
#include "tools/headvideo/MotionScript.h"

#include "tests/support/TemporaryFolder.h"

#include <gtest/gtest.h>
#include <opencv2/imgproc.hpp>
#include <opencv2/videoio.hpp>

#include <filesystem>
#include <fstream>

TEST(MotionScript, AMovementRampsToItsPoseHoldsItAndRampsBack)
{
    std::string error;
    const std::optional<MotionScript> script = MotionScript::Parse("still:3,left:105", error);
    ASSERT_TRUE(script) << error;
    EXPECT_EQ(script->Frames(), 3 + 65);
    EXPECT_EQ(script->PoseAt(2).shiftX, 0.0);
    EXPECT_DOUBLE_EQ(script->PoseAt(3).shiftX, -5.0);  // 1/21 of the way
    EXPECT_DOUBLE_EQ(script->PoseAt(3 + 19).shiftX, -100.0);  // 20/21
    for (int frame = 3 + 20; frame < 3 + 45; ++frame)
        EXPECT_DOUBLE_EQ(script->PoseAt(frame).shiftX, -105.0) << frame;
    EXPECT_DOUBLE_EQ(script->PoseAt(3 + 45).shiftX, -100.0);
    EXPECT_DOUBLE_EQ(script->PoseAt(3 + 64).shiftX, -5.0);
    // Each movement's own pose, by default or as given.
    const std::optional<MotionScript> all =
        MotionScript::Parse("right,up,down,nearer,farther:0.5,roll-cw,roll-ccw:10", error);
    ASSERT_TRUE(all) << error;
    const std::vector<MotionSegment>& s = all->Segments();
    EXPECT_EQ((std::vector<double>{s[0].pose.shiftX, s[1].pose.shiftY, s[2].pose.shiftY, s[3].pose.scale,
                                   s[4].pose.scale, s[5].pose.rollDegrees, s[6].pose.rollDegrees}),
              (std::vector<double>{110, -70, 70, 1.3, 0.5, 22, -10}));
    for (const char* wrong : {"", "still,jump", "left:", "left:-5", "left:5px", "nearer:0"}) {
        EXPECT_FALSE(MotionScript::Parse(wrong, error)) << wrong;
        EXPECT_FALSE(error.empty()) << wrong;
    }
}

// Every frame of the script, close to what the writer drew (a lossy codec, not a different
// picture), and a ground-truth line for each.
TEST(HeadVideoWriter, WritesEveryFrameWithTheChosenCodecAndItsGroundTruth)
{
    TemporaryFolder folder;
    cv::Mat photo(300, 400, CV_8UC3, cv::Scalar(60, 90, 140));
    cv::ellipse(photo, {200, 150}, {50, 70}, 0.0, 0.0, 360.0, cv::Scalar(150, 180, 230), cv::FILLED);
    std::string error;
    const std::optional<MotionScript> script = MotionScript::Parse("still:5,left:60", error);
    ASSERT_TRUE(script) << error;
    HeadVideoSettings settings;
    for (const char* codec : {"H264", "MJPG"}) {
        settings.codec = codec;
        const HeadVideoWriter writer(photo, cv::Rect(150, 80, 100, 140), settings);
        ASSERT_TRUE(writer.Write(*script, std::string(codec) + ".avi", std::string(codec) + ".csv", error)) << error;
        cv::VideoCapture video(std::string(codec) + ".avi");
        EXPECT_EQ(static_cast<int>(video.get(cv::CAP_PROP_FOURCC)),
                  cv::VideoWriter::fourcc(codec[0], codec[1], codec[2], codec[3]));
        int frames = 0;
        for (cv::Mat frame; video.read(frame); ++frames)
            EXPECT_GT(cv::PSNR(frame, writer.Frame(script->PoseAt(frames))), 30.0) << codec << " frame " << frames;
        EXPECT_EQ(frames, script->Frames());
        std::ifstream truth(std::string(codec) + ".csv");
        std::vector<std::string> lines;
        for (std::string line; std::getline(truth, line);)
            lines.push_back(line);
        ASSERT_EQ(lines.size(), script->Frames() + 1u);
        EXPECT_EQ(lines[0], "frame,segment,centre_x,centre_y,face_width,roll_degrees");
        EXPECT_EQ(lines[1 + 5 + 20], "25,left,260.00,210.00,160.00,0.00") << "held 60 to the left of the rest place";
    }
    EXPECT_LT(std::filesystem::file_size("H264.avi"), std::filesystem::file_size("MJPG.avi") / 4);
    settings.codec = "H26";
    EXPECT_FALSE(HeadVideoWriter(photo, cv::Rect(150, 80, 100, 140), settings).Write(*script, "a.avi", "a.csv", error));
    EXPECT_EQ(error, "a codec is named by four characters, not \"H26\"");
    EXPECT_FALSE(std::filesystem::exists("a.avi"));
}
