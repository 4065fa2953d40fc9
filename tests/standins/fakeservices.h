#pragma once

#include "fakeclock.h"
#include "fakepump.h"
#include "fakerandom.h"
#include "services.h"
#include "throwingend.h"
#include "throwingerrorreport.h"

// All stand-ins together, wired the usual way, so that a whole round runs deterministically.
struct FakeServices
{
    FakeClock clock;
    FakeRandom random;
    FakePump pump{clock};
    ThrowingEnd end;
    ThrowingErrorReport errors;

    Services services() { return {clock, random, pump, end, errors}; }
};
