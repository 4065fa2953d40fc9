#pragma once

class Clock;
class ErrorReport;
class EventPump;
class ProgramEnd;
class RandomSource;

// The runtime services the game window runs on. main() builds the real ones;
// tests hand in stand-ins.
struct Services
{
    Clock &clock;
    RandomSource &random;
    EventPump &pump;
    ProgramEnd &end;
    ErrorReport &errors;
};
