#pragma once

#include <QJsonObject>
#include <QString>

#include <chrono>
#include <utility>
#include <vector>

// Milestones of a program's start on the monotonic clock, which the benchmark script
// reads as well, so it can count each one from the moment it started the program.
class StartupReport
{
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    explicit StartupReport(const char *program) : program_(QString::fromUtf8(program)) {}

    void mark(const char *milestone, TimePoint at = std::chrono::steady_clock::now());

    // The program, each milestone as "<name>_ns", the peak and current resident memory,
    // then `fields`.
    QJsonObject json(const QJsonObject &fields = {}) const;

    // Prints json() and ends the process at once.
    [[noreturn]] void printAndExit(const QJsonObject &fields = {}) const;

    // Prints `line` as one line of JSON and ends the process at once.
    [[noreturn]] static void exitWithLine(const QJsonObject &line);

private:
    QString program_;
    std::vector<std::pair<const char *, TimePoint>> milestones_;
};
