#pragma once

#include <cstdint>
#include <functional>

// Time as the game reads it: seconds since local midnight, in single precision.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual float now() = 0;
};

// Seconds since local midnight that advance with the system's monotonic time. The wall
// clock is read once, when the clock is made, to find where in the day the program
// started; setting the wall clock later (a time-server correction, the end of summer
// time) neither ends a round early nor stretches it.
class SystemClock final : public Clock
{
public:
    struct Sources
    {
        std::function<std::int64_t()> wallMsecsSinceMidnight;
        std::function<std::int64_t()> monotonicNsecs;
    };

    SystemClock();
    explicit SystemClock(Sources sources);
    float now() override;

private:
    Sources sources_;
    double anchorSeconds_;
    std::int64_t anchorNsecs_;
};

// Seconds from the reading `start` to the later reading `now`. The clock falls back
// to 0 at midnight, so a reading below the start belongs to the next day.
float elapsedSince(float start, float now);
