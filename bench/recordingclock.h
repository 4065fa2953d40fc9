#pragma once

#include "clock.h"

class TickRecorder;

// Passes readings through from the real clock and tells the recorder when each one
// was asked for and when it came back.
class RecordingClock final : public Clock
{
public:
    RecordingClock(Clock &inner, TickRecorder &recorder) : inner_(inner), recorder_(recorder) {}
    float now() override;

private:
    Clock &inner_;
    TickRecorder &recorder_;
};
