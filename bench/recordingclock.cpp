#include "recordingclock.h"

#include "tickrecorder.h"

float RecordingClock::now()
{
    recorder_.readingStarts(std::chrono::steady_clock::now());
    const float reading = inner_.now();
    recorder_.readingDone(std::chrono::steady_clock::now(), reading);
    return reading;
}
