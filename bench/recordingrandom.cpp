#include "recordingrandom.h"

#include "tickrecorder.h"

float RecordingRandom::next()
{
    const float value = inner_.next();
    recorder_.drawMade();
    return value;
}

void RecordingRandom::reseed(float clockReading)
{
    inner_.reseed(clockReading);
}
