#include "randomsource.h"

#include <bit>

StdRandom::StdRandom(float clockReading)
{
    reseed(clockReading);
}

float StdRandom::next()
{
    // The top 24 bits fill a single's mantissa exactly, so the result never rounds up to 1.
    return static_cast<float>(engine_() >> 8) * 0x1p-24f;
}

void StdRandom::reseed(float clockReading)
{
    engine_.seed(std::bit_cast<std::uint32_t>(clockReading));
}
