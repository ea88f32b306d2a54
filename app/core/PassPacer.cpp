#include "app/core/PassPacer.h"

#include "app/core/PassClock.h"

#include <algorithm>

PassPacer::PassPacer(PassClock& clock, double refreshRateHz)
    : m_clock(clock), m_refreshPeriodMs(1000.0 / (refreshRateHz > 0.0 ? refreshRateHz : kDefaultRefreshRateHz))
{
}

void PassPacer::SetPaced(bool paced)
{
    m_paced = paced;
}

double PassPacer::PeriodMs() const
{
    return m_paced ? m_refreshPeriodMs : 0.0;
}

double PassPacer::MsUntilNextPass()
{
    return std::max(0.0, m_nextPassMs - m_clock.NowMs());
}

void PassPacer::PassStarted()
{
    const double now = m_clock.NowMs();
    const double onTime = m_nextPassMs + PeriodMs();
    m_nextPassMs = onTime > now ? onTime : now + PeriodMs();
}
