#pragma once

#include "programend.h"

struct ProgramEnded
{
};

// Throws where the program would end: a test catches it, a benchmark stops at it.
class ThrowingEnd final : public ProgramEnd
{
public:
    [[noreturn]] void end() override
    {
        ++calls;
        throw ProgramEnded{};
    }
    int calls = 0;
};
