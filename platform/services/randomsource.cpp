#include "randomsource.h"

#include <cstring>

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
    // The reading's bits, as std::bit_cast would give them (not every C++ library has it).
    std::uint32_t bits;
    static_assert(sizeof bits == sizeof clockReading);
    std::memcpy(&bits, &clockReading, sizeof bits);
    engine_.seed(bits);
}
