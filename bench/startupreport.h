#pragma once

#include <chrono>
#include <string>
#include <utility>
#include <vector>

// Milestones of a program's start on the monotonic clock, which the benchmark script
// reads as well, so it can count each one from the moment it started the program.
class StartupReport
{
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    explicit StartupReport(std::string program) : program_(std::move(program)) {}

    void mark(const char *milestone, TimePoint at = std::chrono::steady_clock::now());

    // One JSON line: the program, each milestone as "<name>_ns", the peak and current
    // resident memory, then `extraFields` (already in JSON, without braces).
    std::string json(const std::string &extraFields = {}) const;

    // Prints json() and ends the process at once.
    [[noreturn]] void printAndExit(const std::string &extraFields = {}) const;

private:
    std::string program_;
    std::vector<std::pair<const char *, TimePoint>> milestones_;
};
