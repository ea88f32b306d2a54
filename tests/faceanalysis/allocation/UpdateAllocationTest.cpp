#include "faceanalysis/CFaceModel.h"
#include "faceanalysis/CTrackedFace.h"
#include "faceanalysis/HeadMeasures.h"
#include "faceanalysis/MotionSampleSink.h"

#include "FaceTestFrames.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

namespace {
std::atomic<long> g_allocations{0};
}

// The replacements pair malloc with free, which GCC cannot see through operator new.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size)
{
    ++g_allocations;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

namespace {

using namespace facetest;

struct NullSink : MotionSampleSink {
    void AddSample(float, float, float, float, float, float) override {}
};

TEST(UpdateAllocation, UpdateAndMeasuresAllocateNothingAfterTheFirstFrame)
{
    ASSERT_FALSE(Portrait().empty());
    const FacePoints start = StartPoints(FaceBox);
    const cv::Rect region = SearchRegion(FaceBox);
    const FaceEllipse ellipse(region.x, region.y, region.br().x, region.br().y);
    CFaceModel model;
    model.Analyse(Portrait(), int(start.eye1.x), int(start.eye1.y), int(start.eye2.x),
                  int(start.eye2.y), int(start.mouth.x), int(start.mouth.y), ellipse);
    CTrackedFace face(int(start.eye1.x), int(start.eye1.y), int(start.eye2.x), int(start.eye2.y),
                      int(start.mouth.x), int(start.mouth.y), ellipse);
    face.SetFaceModel(&model);
    HeadMeasures measures;
    measures.Calibrate(model);

    std::vector<cv::Mat> frames;
    for (int step = 0; step < 4; ++step)
        frames.push_back(MovedFrame(Portrait(), Motion({225, 113}, step * 0.5, 1 + 0.01 * step,
                                                       {step * 1.0, step * 0.5}),
                                    Portrait().size()));
    NullSink sink;
    double cost = 0;
    ASSERT_TRUE(face.Update(sink, frames[0], cost, 12.0));
    measures.MeasureYaw(face, model);
    measures.MeasurePitch(face, model);
    const unsigned char* warpPixels = face.WarpImage().data;
    const unsigned char* facePixels = face.FaceImage().data;

    const long before = g_allocations;
    for (int step = 1; step < 4; ++step) {
        ASSERT_TRUE(face.Update(sink, frames[step], cost, 12.0));
        measures.MeasureYaw(face, model);
        measures.MeasurePitch(face, model);
    }
    EXPECT_EQ(g_allocations - before, 0);
    EXPECT_EQ(face.WarpImage().data, warpPixels);
    EXPECT_EQ(face.FaceImage().data, facePixels);
}

} // namespace
