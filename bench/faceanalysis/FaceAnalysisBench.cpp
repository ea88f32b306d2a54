// Per-frame cost of following a face: one CTrackedFace::Update on a 640 x 480 frame with a face
// of about 120 x 150 pixels, and one AlignProfile of its row profile.
#include "faceanalysis/CFaceModel.h"
#include "faceanalysis/CTrackedFace.h"
#include "faceanalysis/IntensityProfile.h"
#include "faceanalysis/MotionSampleSink.h"
#include "faceanalysis/ProfileAlignment.h"

#include <benchmark/benchmark.h>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <cstdlib>
#include <memory>

namespace {

struct NullSink : MotionSampleSink {
    void AddSample(float, float, float, float, float, float) override {}
};

// The astronaut portrait enlarged by 1.1 (its face box of 110 pixels becomes 121) and centred
// on a 640 x 480 frame, shifted right by shiftX pixels.
cv::Mat Frame(const cv::Mat& portrait, double shiftX)
{
    cv::Matx23d m = cv::getRotationMatrix2D(cv::Point2f(225, 113), 0, 1.1);
    m(0, 2) += 320 - 225 + shiftX;
    m(1, 2) += 240 - 113;
    cv::Mat frame;
    cv::warpAffine(portrait, frame, m, cv::Size(640, 480), cv::INTER_LINEAR, cv::BORDER_REFLECT);
    return frame;
}

// A face model and a tracked face built at the detector's proportions of the face box.
struct TrackedScene {
    TrackedScene()
    {
        const cv::Mat portrait = cv::imread(BRUMARIA_SOURCE_DIR "/tests/data/astronaut.png", cv::IMREAD_COLOR);
        if (portrait.empty())
            std::abort();
        frames[0] = Frame(portrait, 0);
        frames[1] = Frame(portrait, 1);
        // Face box (170, 58, 110, 110) of the portrait, on the frame.
        const double x = 320 + (170 - 225) * 1.1;
        const double y = 240 + (58 - 113) * 1.1;
        const double w = 110 * 1.1;
        const int leftEyeX = int(x + 0.31 * w), rightEyeX = int(x + 0.69 * w), eyeY = int(y + 0.4 * w);
        const int mouthX = int(x + 0.5 * w), mouthY = int(y + 0.78 * w);
        const FaceEllipse region(int(x + 0.15 * w), int(y + 0.08 * w), int(x + w - 0.15 * w), int(y + w - 0.08 * w));
        model.Analyse(frames[0], leftEyeX, eyeY, rightEyeX, eyeY, mouthX, mouthY, region);
        face = std::make_unique<CTrackedFace>(leftEyeX, eyeY, rightEyeX, eyeY, mouthX, mouthY, region);
        face->SetFaceModel(&model);
    }

    cv::Mat frames[2];
    CFaceModel model;
    std::unique_ptr<CTrackedFace> face;
    NullSink sink;
};

void BM_TrackedFaceUpdate(benchmark::State& state)
{
    TrackedScene scene;
    double cost = 0;
    int frame = 0;
    for (auto _ : state) {
        const bool followed = scene.face->Update(scene.sink, scene.frames[frame], cost, 12.0);
        benchmark::DoNotOptimize(followed);
        frame ^= 1;
    }
    state.counters["model_width"] = scene.model.Width();
    state.counters["model_height"] = scene.model.Height();
    state.counters["cost"] = cost;
}
BENCHMARK(BM_TrackedFaceUpdate)->Repetitions(9)->ReportAggregatesOnly(true);

void BM_AlignProfile(benchmark::State& state)
{
    TrackedScene scene;
    double cost = 0;
    scene.face->Update(scene.sink, scene.frames[1], cost, 12.0);
    const cv::Mat& faceImage = scene.face->FaceImage();
    const IntensityProfile measured =
        IntensityProfile::RowProfile(faceImage, 0, faceImage.cols - 1, 0, faceImage.rows - 1, 3, 0);
    IntensityProfile current = measured;
    IntensityProfile aligned;
    for (auto _ : state) {
        current = measured;
        const ProfileFit fit =
            AlignProfile(0.25, current, scene.model.RowReference(), scene.model.RowWeights(), aligned, 4, 2);
        benchmark::DoNotOptimize(fit.cost);
    }
    state.counters["samples"] = measured.Count();
}
BENCHMARK(BM_AlignProfile)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace
