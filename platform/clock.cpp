#include "clock.h"

#include <QTime>

namespace {
constexpr double kSecondsPerDay = 86400.0;
}

float SystemClock::now()
{
    return static_cast<float>(QTime::currentTime().msecsSinceStartOfDay() / 1000.0);
}

float elapsedSince(float start, float now)
{
    if (now < start)
        return static_cast<float>(double(now) + kSecondsPerDay - double(start));
    return now - start;
}
