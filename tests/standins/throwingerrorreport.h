#pragma once

#include "errorreport.h"

struct ErrorRaised
{
    RuntimeError error;
};

class ThrowingErrorReport final : public ErrorReport
{
public:
    [[noreturn]] void raise(RuntimeError error) override { throw ErrorRaised{error}; }
};
