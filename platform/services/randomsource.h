#pragma once

#include <cstdint>
#include <random>

// Uniform random numbers in [0, 1) as singles, reseeded from a clock reading.
class RandomSource
{
public:
    virtual ~RandomSource() = default;
    virtual float next() = 0;
    virtual void reseed(float clockReading) = 0;
};

class StdRandom final : public RandomSource
{
public:
    explicit StdRandom(float clockReading);
    float next() override;
    void reseed(float clockReading) override;

private:
    std::mt19937 engine_;
};
