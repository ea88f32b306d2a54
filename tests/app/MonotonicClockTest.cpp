#include "app/core/MonotonicClock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

TEST(MonotonicClockTest, CountsMillisecondsFromItsCreationWithoutGoingBack)
{
    MonotonicClock clock;
    const double first = clock.NowMs();
    EXPECT_GE(first, 0.0);
    EXPECT_LT(first, 1000.0);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const double second = clock.NowMs();
    EXPECT_GE(second - first, 20.0);
    // Sub-millisecond resolution: two close readings are not rounded to whole milliseconds.
    double previous = clock.NowMs();
    bool fractional = false;
    for (int i = 0; i < 1000; ++i) {
        const double now = clock.NowMs();
        EXPECT_GE(now, previous);
        fractional = fractional || now != static_cast<double>(static_cast<long long>(now));
        previous = now;
    }
    EXPECT_TRUE(fractional);
}
