#pragma once

#include "eventpump.h"

class ClickProbe;
class TickRecorder;

// Runs the real pump, tells the recorder, and lets a click probe act around each run.
class RecordingPump final : public EventPump
{
public:
    RecordingPump(EventPump &inner, TickRecorder &recorder) : inner_(inner), recorder_(recorder) {}
    void pumpOnce(double secondsLeft) override;
    void setClickProbe(ClickProbe *probe) { probe_ = probe; }

private:
    EventPump &inner_;
    TickRecorder &recorder_;
    ClickProbe *probe_ = nullptr;
};
