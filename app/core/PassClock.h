#pragma once

// The time the main loop paces against.
class PassClock {
public:
    virtual ~PassClock() = default;
    // Milliseconds since the program started; never decreases.
    virtual double NowMs() = 0;
};
