// CTrackedFace::Update on random frames after a real detection: the face model is built once
// from the astronaut portrait where the detector finds the face, then every input is a run of
// frames for a fresh tracked face (noise, flat colour, the portrait moved anywhere, the
// portrait with a patch of noise), of any size, each followed by what the tracker does after a
// successful update: the head measures and the three debug drawings.
#include "FuzzInput.h"
#include "FuzzSupport.h"

#include "faceanalysis/CFaceModel.h"
#include "faceanalysis/CTrackedFace.h"
#include "faceanalysis/HeadMeasures.h"
#include "faceanalysis/MotionSampleSink.h"
#include "tracking/FaceDetector.h"
#include "tracking/FacePlacement.h"

#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr double kCostLimit = 12.0;
constexpr int kMaxFrames = 6;

struct Portrait {
    cv::Mat picture;
    FacePlacement place;
    CFaceModel model;
    HeadMeasures measures;
};

Portrait* g_portrait = nullptr;

struct FiniteSink : MotionSampleSink {
    void AddSample(float leftEyeX, float leftEyeY, float rightEyeX, float rightEyeY, float mouthX,
                   float mouthY) override
    {
        for (float v : {leftEyeX, leftEyeY, rightEyeX, rightEyeY, mouthX, mouthY})
            fuzz::Require(std::isfinite(v), "a followed face hands over pixel positions");
    }
};

cv::Mat Noise(FuzzInput& input, cv::Size size)
{
    cv::Mat frame(size, CV_8UC3);
    cv::RNG random(input.Raw<std::uint64_t>());
    random.fill(frame, cv::RNG::UNIFORM, cv::Scalar::all(0), cv::Scalar::all(256));
    return frame;
}

cv::Mat NextFrame(FuzzInput& input)
{
    const cv::Mat& portrait = g_portrait->picture;
    const std::uint8_t kind = input.Byte() % 4;
    const cv::Size size =
        (input.Byte() & 1) ? portrait.size() : cv::Size(input.Between(1, 1024), input.Between(1, 768));
    switch (kind) {
    case 0: return Noise(input, size);
    case 1: return cv::Mat(size, CV_8UC3, cv::Scalar(input.Byte(), input.Byte(), input.Byte()));
    case 2: {
        // The portrait turned, scaled and shifted about the face.
        const double degrees = input.Raw<std::int8_t>() * (180.0 / 128.0);
        const double scale = 0.25 + input.Byte() / 64.0;
        const cv::Point2f centre(g_portrait->place.points[4], g_portrait->place.points[1]);
        cv::Mat motion = cv::getRotationMatrix2D(centre, degrees, scale);
        motion.at<double>(0, 2) += input.Raw<std::int8_t>() * 3.0;
        motion.at<double>(1, 2) += input.Raw<std::int8_t>() * 3.0;
        cv::Mat frame;
        cv::warpAffine(portrait, frame, motion, size, cv::INTER_LINEAR, cv::BORDER_REFLECT);
        return frame;
    }
    default: {
        cv::Mat frame;
        cv::resize(portrait, frame, size);
        const cv::Rect patch(input.Between(0, size.width - 1), input.Between(0, size.height - 1),
                             input.Between(1, size.width), input.Between(1, size.height));
        const cv::Rect inside = patch & cv::Rect(cv::Point(0, 0), size);
        Noise(input, inside.size()).copyTo(frame(inside));
        return frame;
    }
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    g_portrait = new Portrait;
    g_portrait->picture = cv::imread(BRUMARIA_SOURCE_DIR "/tests/data/astronaut.png", cv::IMREAD_COLOR);
    fuzz::Require(!g_portrait->picture.empty(), "the portrait reads");
    FaceDetector detector;
    const std::vector<cv::Rect>& faces = detector.Detect(g_portrait->picture, false);
    fuzz::Require(!faces.empty(), "the detector finds the portrait's face");
    g_portrait->place = FacePlacement::ForNewFace(faces[0], FaceDetector::Scale(false));
    const FacePlacement& place = g_portrait->place;
    const std::array<int, 6>& p = place.wholePoints;
    g_portrait->model.Analyse(g_portrait->picture, p[0], p[1], p[2], p[3], p[4], p[5],
                              FaceEllipse(place.left, place.top, place.right, place.bottom));
    g_portrait->measures.Calibrate(g_portrait->model);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    const FacePlacement& place = g_portrait->place;
    const std::array<int, 6>& p = place.wholePoints;
    CTrackedFace face(p[0], p[1], p[2], p[3], p[4], p[5],
                      FaceEllipse(place.left, place.top, place.right, place.bottom));
    face.SetFaceModel(&g_portrait->model);
    FiniteSink sink;
    cv::Mat analysisView = cv::Mat::zeros(280, 400, CV_8UC3);
    cv::Mat profileView = cv::Mat::zeros(370, 400, CV_8UC3);

    for (int n = 0; n < kMaxFrames && !input.Empty(); ++n) {
        const cv::Mat frame = NextFrame(input);
        double cost = -1.0;
        if (!face.Update(sink, frame, cost, kCostLimit))
            continue;
        fuzz::Require(cost >= 0 && cost <= kCostLimit, "a followed face costs at most the limit");
        g_portrait->measures.MeasureYaw(face, g_portrait->model);
        g_portrait->measures.MeasurePitch(face, g_portrait->model);
        face.DrawAnalysisView(frame, analysisView, "FRAME A", n, cost, false);
        face.DrawProfileView(profileView);
        cv::Mat marked = frame.clone();
        face.DrawFeatures(marked, 1, 0x000000, 0xFFFFFF, true, true);
    }
    return 0;
}
