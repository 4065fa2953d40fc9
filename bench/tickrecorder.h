#pragma once

#include <chrono>
#include <vector>

// Splits a round into waits and the work between them, from what the service
// decorators report. A tick's wait starts at the first clock reading after the
// tick's random draw (TimeOut's start reading) and ends when the reading that
// finds the wait over returns: the first reading after the last pump of that wait.
// Everything from there to the next wait's start reading is the tick's own work.
class TickRecorder
{
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    struct Wait
    {
        TimePoint start;
        TimePoint end;
        int pumps = 0;
        std::chrono::nanoseconds longestPump{0};
    };

    void beginRound();
    void endRound();

    void drawMade();
    void readingStarts(TimePoint at);
    void readingDone(TimePoint at, float reading);
    void pumpDone(std::chrono::nanoseconds took);

    bool waiting() const { return phase_ == Phase::Waiting; }
    const std::vector<Wait> &waits() const { return waits_; }

    // The first clock reading of the round and the smallest rise between two
    // successive readings: the clock's step as the game saw it.
    float firstReading() const { return firstReading_; }
    float smallestStep() const { return smallestStep_; }

private:
    enum class Phase { Idle, Running, Drawn, Waiting };

    void closeWait();

    Phase phase_ = Phase::Idle;
    std::vector<Wait> waits_;
    bool pumpedSinceReading_ = false;
    TimePoint lastReadingAfterPump_;
    bool haveReading_ = false;
    float lastReading_ = 0.0f;
    float firstReading_ = 0.0f;
    float smallestStep_ = 0.0f;
};
