#pragma once

// Stand-ins for the runtime services, so that a whole round runs deterministically.

#include "clock.h"
#include "errorreport.h"
#include "eventpump.h"
#include "geometry.h"
#include "programend.h"
#include "randomsource.h"
#include "services.h"

#include <cmath>
#include <deque>
#include <functional>
#include <random>
#include <vector>

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

// Draws from a fixed list, then from a seeded generator.
class FakeRandom final : public RandomSource
{
public:
    float next() override
    {
        ++draws;
        if (!script.empty()) {
            const float value = script.front();
            script.pop_front();
            return value;
        }
        return static_cast<float>(engine() >> 8) * 0x1p-24f;
    }
    void reseed(float clockReading) override
    {
        reseeds.push_back(clockReading);
        engine.seed(static_cast<unsigned>(clockReading * 1000.0f));
    }

    std::deque<float> script;
    std::vector<float> reseeds;
    std::mt19937 engine{12345};
    int draws = 0;
};

// Each run of the pump lets `step` seconds pass and runs `onPump`, if set.
class FakePump final : public EventPump
{
public:
    explicit FakePump(FakeClock &clock, double step = 1.0 / 1024) : clock(clock), step(step) {}
    void pumpOnce() override
    {
        ++runs;
        clock.advance(step);
        if (onPump)
            onPump();
    }

    FakeClock &clock;
    double step;
    std::function<void()> onPump;
    int runs = 0;
};

struct ProgramEnded
{
};

class ThrowingEnd final : public ProgramEnd
{
public:
    [[noreturn]] void end() override
    {
        ++calls;
        throw ProgramEnded{};
    }
    int calls = 0;
};

struct ErrorRaised
{
    RuntimeError error;
};

class ThrowingErrorReport final : public ErrorReport
{
public:
    [[noreturn]] void raise(RuntimeError error) override { throw ErrorRaised{error}; }
};

// A window of a fixed outer size, in twips.
class FixedWindow final : public WindowGeometry
{
public:
    FixedWindow(float width, float height) : w(width), h(height) {}
    float width() const override { return w; }
    float height() const override { return h; }
    float w, h;
};

// A control whose geometry is plain singles, with no pixel rounding.
class FakeGeometry final : public ControlGeometry
{
public:
    FakeGeometry(float left, float top, float width, float height)
        : l(left), t(top), w(width), h(height) {}
    float left() const override { return l; }
    float top() const override { return t; }
    float width() const override { return w; }
    float height() const override { return h; }
    bool setLeft(float twips) override { l = twips; return true; }
    bool setTop(float twips) override { t = twips; return true; }
    float l, t, w, h;
};

// All stand-ins together, wired the usual way.
struct FakeServices
{
    FakeClock clock;
    FakeRandom random;
    FakePump pump{clock};
    ThrowingEnd end;
    ThrowingErrorReport errors;

    Services services() { return {clock, random, pump, end, errors}; }
};
