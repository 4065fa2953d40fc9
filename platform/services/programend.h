#pragma once

// Ends the program at once: no further code of the game runs and every window goes.
class ProgramEnd
{
public:
    virtual ~ProgramEnd() = default;
    [[noreturn]] virtual void end() = 0;
};

class ProcessEnd final : public ProgramEnd
{
public:
    [[noreturn]] void end() override;
};

// Leaves the process with `status` without running anything else of the program.
[[noreturn]] void exitProcessNow(int status);
