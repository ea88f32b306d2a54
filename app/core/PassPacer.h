#pragma once

class PassClock;

// When the main loop's next pass is due: one pass per display refresh, on a steady timeline of
// the pass clock, so that the passes keep the refresh rate on average whatever the granularity
// of the timer that waits for them. A pass that starts more than a period late moves the
// timeline instead of being followed by a burst of catch-up passes. Unpaced, every pass is due
// at once: passes follow each other as fast as the machine allows.
class PassPacer {
public:
    // Used when the display does not tell its refresh rate.
    static constexpr double kDefaultRefreshRateHz = 60.0;

    // A refresh rate that is not a positive number of hertz is an unknown one.
    PassPacer(PassClock& clock, double refreshRateHz);

    void SetPaced(bool paced);
    // Milliseconds between passes; 0 when unpaced.
    double PeriodMs() const;

    // Milliseconds from now until the next pass is due; 0 once it is.
    double MsUntilNextPass();
    // Notes that a pass starts now.
    void PassStarted();

private:
    PassClock& m_clock;
    double m_refreshPeriodMs;
    bool m_paced = true;
    // When the next pass is due, in the clock's milliseconds.
    double m_nextPassMs = 0.0;
};
