#pragma once

#include "tracking/HeadSample.h"

#include <cstdint>

// The last five head samples and how many were ever added. The steering smooths over the ring
// with the weights 1, 2, 4, 2, 1, so its centre is the sample two steps old.
class SampleRing {
public:
    // Zeroes the five entries; the count goes on.
    void ClearEntries();
    void Add(const HeadSample& sample);
    // Samples added since the program started (wraps only after 2^32 of them).
    std::uint32_t Count() const { return m_count; }
    // The weighted average of the five entries: whole measures truncated toward zero, yaw and
    // pitch scaled by the single-precision 0.1.
    HeadSample Smoothed() const;

private:
    static constexpr int kSize = 5;
    const HeadSample& Back(int age) const;

    HeadSample m_entries[kSize];
    std::uint32_t m_count = 0;
};
