#include "recordingpump.h"

#include "clickprobe.h"
#include "tickrecorder.h"

void RecordingPump::pumpOnce(double secondsLeft)
{
    if (probe_)
        probe_->beforePump();
    const auto start = std::chrono::steady_clock::now();
    inner_.pumpOnce(secondsLeft);
    const auto took = std::chrono::steady_clock::now() - start;
    if (probe_)
        probe_->afterPump();
    recorder_.pumpDone(took);
}
