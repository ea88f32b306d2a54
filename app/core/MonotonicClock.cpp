#include "app/core/MonotonicClock.h"

MonotonicClock::MonotonicClock() : m_start(std::chrono::steady_clock::now()) {}

double MonotonicClock::NowMs()
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - m_start).count();
}
