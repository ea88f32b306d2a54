// AlignProfile on random profiles: index ranges and lengths of rows and columns of a frame,
// sample values as the extraction gives them (or any float at all), the program's search
// settings and others. The results must be written and the aligned profile whole.
#include "FuzzInput.h"
#include "FuzzSupport.h"

#include "faceanalysis/IntensityProfile.h"
#include "faceanalysis/ProfileAlignment.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

// Longer than any row or column profile of a camera frame.
constexpr int kMaxSamples = 2048;

std::vector<float> Samples(FuzzInput& input, int count, bool anyFloat, bool positive)
{
    std::vector<float> values(count);
    for (float& value : values) {
        if (anyFloat)
            value = input.Raw<float>();
        else
            value = positive ? 1.0f + input.Byte() : static_cast<float>(input.Byte());
    }
    return values;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    const std::uint8_t flags = input.Byte();
    const bool anyFloat = flags & 1;
    const bool programSettings = flags & 2;
    const double rangeFactor = programSettings ? 0.25 : (input.Byte() + 1) / 256.0;
    const int gridHalfWidth = programSettings ? 4 : input.Between(0, 8);
    const int levels = programSettings ? 2 : input.Between(0, 4);

    const int currentFirst = input.Between(-2000, 2000);
    const int currentCount = input.Between(1, kMaxSamples);
    const int referenceFirst = input.Between(-2000, 2000);
    const int referenceCount = input.Between(1, kMaxSamples);
    IntensityProfile current(currentFirst, Samples(input, currentCount, anyFloat, false));
    const IntensityProfile reference(referenceFirst, Samples(input, referenceCount, anyFloat, false));
    const IntensityProfile weights(referenceFirst, Samples(input, referenceCount, anyFloat, true));

    IntensityProfile aligned;
    const ProfileFit fit = AlignProfile(rangeFactor, current, reference, weights, aligned, gridHalfWidth, levels);

    fuzz::Require(aligned.Count() >= 1 && aligned.Last() == aligned.First() + aligned.Count() - 1,
                  "the aligned profile is whole");
    fuzz::Require(current.Count() == currentCount && current.First() == currentFirst,
                  "the current profile keeps its indices");
    if (!anyFloat) {
        // Ordinary samples: a cost that is a number, never below zero.
        fuzz::Require(!std::isnan(fit.cost) && fit.cost >= 0, "the cost is a non-negative number");
        fuzz::Require(fit.scale > 0, "the scale stays positive");
    }
    return 0;
}
