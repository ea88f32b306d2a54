#include "faceanalysis/HeadMeasures.h"

#include "tests/faceanalysis/FaceTestFrames.h"

#include <atomic>
#include <cstdlib>
#include <new>

static std::atomic<long> allocations{0};

// The replacements pair malloc with free, which GCC cannot see through operator new.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size)
{
    ++allocations;
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

TEST(UpdateAllocation, UpdateAndMeasuresAllocateNothingAfterTheFirstFrame)
{
    using namespace facetest;
    PortraitFace portrait;
    HeadMeasures measures;
    measures.Calibrate(portrait.model);
    std::vector<cv::Mat> frames;
    for (int step = 0; step < 4; ++step)
        frames.push_back(MovedFrame(Motion(step * 0.5, 1 + 0.01 * step, {step * 1.0, step * 0.5})));
    RecordingSink sink;
    sink.samples.reserve(4);
    std::array<const unsigned char*, 2> pictures{};
    long before = 0;
    for (int step = 0; step < 4; ++step) {
        double cost = 0;
        ASSERT_TRUE(portrait.face.Update(sink, frames[step], cost, 12.0));
        const int yaw = measures.MeasureYaw(portrait.face, portrait.model);
        const int pitch = measures.MeasurePitch(portrait.face, portrait.model);
        if (step == 0) {  // the still portrait: nothing measured; the pictures and profiles sized
            EXPECT_EQ(std::pair(yaw, pitch), std::pair(0, 0));
            before = allocations;
            pictures = {portrait.face.WarpImage().data, portrait.face.FaceImage().data};
        }
    }
    EXPECT_EQ(allocations - before, 0);
    // OpenCV allocates pictures with its own allocator, which the count does not see.
    EXPECT_EQ(pictures[0], portrait.face.WarpImage().data);
    EXPECT_EQ(pictures[1], portrait.face.FaceImage().data);
}
