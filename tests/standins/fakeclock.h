#pragma once

#include "clock.h"

#include <cmath>
#include <deque>
#include <functional>

// Seconds since midnight that move only when told: by `perReading` at every reading,
// by `advance()` (the pump calls it), or through scripted readings that come first.
class FakeClock final : public Clock
{
public:
    explicit FakeClock(double start = 1000.0, double perReading = 0.0)
        : seconds(start), perReading(perReading) {}

    float now() override
    {
        ++readings;
        if (onReading)
            onReading();
        if (!script.empty()) {
            const float reading = script.front();
            script.pop_front();
            return reading;
        }
        const auto reading = static_cast<float>(std::fmod(seconds, 86400.0));
        seconds += perReading;
        return reading;
    }
    void advance(double dt) { seconds += dt; }

    double seconds;
    double perReading;
    std::deque<float> script;
    std::function<void()> onReading;
    int readings = 0;
};
