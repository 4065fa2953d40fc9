#pragma once

#include "randomsource.h"

class TickRecorder;

// Passes draws through from the real generator and marks each one for the recorder.
class RecordingRandom final : public RandomSource
{
public:
    RecordingRandom(RandomSource &inner, TickRecorder &recorder)
        : inner_(inner), recorder_(recorder) {}
    float next() override;
    void reseed(float clockReading) override;

private:
    RandomSource &inner_;
    TickRecorder &recorder_;
};
