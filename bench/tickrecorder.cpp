#include "tickrecorder.h"

// Under callgrind each tick's work is dumped as a count of its own: the counts are
// zeroed whenever a reading returns after a pump, so a dump at a wait's start holds
// only the work since the reading that found the last wait over.
#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#define TICK_WORK_BEGINS() CALLGRIND_ZERO_STATS
#define TICK_WORK_ENDS() CALLGRIND_DUMP_STATS_AT("tick")
#else
#define TICK_WORK_BEGINS()
#define TICK_WORK_ENDS()
#endif

void TickRecorder::beginRound()
{
    waits_.clear();
    waits_.reserve(1024);
    phase_ = Phase::Running;
    haveReading_ = false;
    smallestStep_ = 0.0f;
}

void TickRecorder::endRound()
{
    if (phase_ == Phase::Waiting)
        closeWait();
    phase_ = Phase::Idle;
}

void TickRecorder::drawMade()
{
    if (phase_ == Phase::Idle)
        return;
    if (phase_ == Phase::Waiting)
        closeWait();
    phase_ = Phase::Drawn;
}

void TickRecorder::readingStarts(TimePoint at)
{
    if (phase_ != Phase::Drawn)
        return;
    if (waits_.empty())
        TICK_WORK_BEGINS();
    else
        TICK_WORK_ENDS();
    waits_.push_back({at, at, 0, {}});
    phase_ = Phase::Waiting;
    // The start reading itself stands as the end should the wait need no pump at all.
    pumpedSinceReading_ = true;
}

void TickRecorder::readingDone(TimePoint at, float reading)
{
    if (phase_ == Phase::Idle)
        return;
    if (!haveReading_) {
        haveReading_ = true;
        firstReading_ = reading;
    } else if (reading > lastReading_) {
        const float rise = reading - lastReading_;
        if (smallestStep_ == 0.0f || rise < smallestStep_)
            smallestStep_ = rise;
    }
    lastReading_ = reading;

    if (phase_ == Phase::Waiting && pumpedSinceReading_) {
        TICK_WORK_BEGINS();
        lastReadingAfterPump_ = at;
        pumpedSinceReading_ = false;
    }
}

void TickRecorder::pumpDone(std::chrono::nanoseconds took)
{
    if (phase_ != Phase::Waiting)
        return;
    pumpedSinceReading_ = true;
    Wait &wait = waits_.back();
    ++wait.pumps;
    if (took > wait.longestPump)
        wait.longestPump = took;
}

void TickRecorder::closeWait()
{
    waits_.back().end = lastReadingAfterPump_;
}
