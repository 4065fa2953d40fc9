#pragma once

#include "randomsource.h"

#include <deque>
#include <random>
#include <vector>

// Draws from a fixed list, then from a seeded generator, and counts the draws.
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
