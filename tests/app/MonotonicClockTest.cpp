#include "app/core/MonotonicClock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <thread>

TEST(MonotonicClockTest, CountsFractionalMillisecondsFromItsCreation)
{
    MonotonicClock clock;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const double now = clock.NowMs();
    // Whole milliseconds only once in a million readings.
    EXPECT_GE(now, 20.0);
    EXPECT_LT(now, 1000.0);
    EXPECT_NE(now, std::floor(now));
}
