#pragma once

#include "app/core/PassClock.h"

#include <chrono>

// Milliseconds since construction, from the system's monotonic clock, in double precision so
// that pacing keeps its resolution however long the program runs.
class MonotonicClock : public PassClock {
public:
    MonotonicClock();
    double NowMs() override;

private:
    std::chrono::steady_clock::time_point m_start;
};
