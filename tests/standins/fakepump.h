#pragma once

#include "eventpump.h"
#include "fakeclock.h"

#include <functional>

// Each run of the pump lets `step` seconds pass and runs `onPump`, if set.
class FakePump final : public EventPump
{
public:
    explicit FakePump(FakeClock &clock, double step = 1.0 / 1024) : clock(clock), step(step) {}
    void pumpOnce(double secondsLeft) override
    {
        lastSecondsLeft = secondsLeft;
        ++runs;
        clock.advance(step);
        if (onPump)
            onPump();
    }

    FakeClock &clock;
    double step;
    std::function<void()> onPump;
    int runs = 0;
    double lastSecondsLeft = 0;
};
