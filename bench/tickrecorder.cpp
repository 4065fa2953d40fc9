#include "tickrecorder.h"

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
