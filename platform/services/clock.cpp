#include "clock.h"

#include <QTime>

#include <algorithm>
#include <chrono>
#include <cmath>

namespace {

constexpr double kSecondsPerDay = 86400.0;
// The largest single below a whole day: a reading in the day's last milliseconds would
// otherwise round up to 86400, which is already the next day's 0.
const float kLastReadingOfTheDay = std::nextafter(float(kSecondsPerDay), 0.0f);

SystemClock::Sources systemSources()
{
    return {
        [] { return std::int64_t(QTime::currentTime().msecsSinceStartOfDay()); },
        [] {
            return std::int64_t(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                    std::chrono::steady_clock::now().time_since_epoch())
                                    .count());
        },
    };
}

} // namespace

SystemClock::SystemClock()
    : SystemClock(systemSources())
{
}

SystemClock::SystemClock(Sources sources)
    : sources_(std::move(sources))
    , anchorSeconds_(double(sources_.wallMsecsSinceMidnight()) / 1000.0)
    , anchorNsecs_(sources_.monotonicNsecs())
{
}

float SystemClock::now()
{
    const double sinceAnchor = double(sources_.monotonicNsecs() - anchorNsecs_) / 1e9;
    const auto reading = static_cast<float>(std::fmod(anchorSeconds_ + sinceAnchor, kSecondsPerDay));
    return std::min(reading, kLastReadingOfTheDay);
}

float elapsedSince(float start, float now)
{
    if (now < start)
        return static_cast<float>(double(now) + kSecondsPerDay - double(start));
    return now - start;
}
