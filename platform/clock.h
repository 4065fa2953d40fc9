#pragma once

// Time as the game reads it: seconds since local midnight, in single precision.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual float now() = 0;
};

class SystemClock final : public Clock
{
public:
    float now() override;
};

// Seconds from the reading `start` to the later reading `now`. The clock falls back
// to 0 at midnight, so a reading below the start belongs to the next day.
float elapsedSince(float start, float now);
