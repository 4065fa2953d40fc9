#pragma once

#include <QString>

#include <chrono>
#include <random>
#include <vector>

class QLabel;
class QWidget;
class TickRecorder;

// Clicks the picture during every other wait, at a random moment in its first
// `windowMs` milliseconds, by posting a left press and release to it, and times how
// long the counter label takes to show the new count.
class ClickProbe
{
public:
    ClickProbe(QWidget &picture, QLabel &counter, const TickRecorder &recorder,
               double windowMs, unsigned seed);

    void beforePump();
    void afterPump();

    const std::vector<double> &latenciesMicros() const { return latencies_; }
    int missed() const { return missed_; }

private:
    QWidget &picture_;
    QLabel &counter_;
    const TickRecorder &recorder_;
    std::mt19937 engine_;
    std::uniform_real_distribution<double> offsetMs_;

    std::size_t plannedWait_ = 0;
    double plannedOffsetMs_ = -1.0; // below zero: no click in this wait
    bool pending_ = false;
    std::size_t pendingWait_ = 0;
    QString textBefore_;
    std::chrono::steady_clock::time_point postedAt_;
    std::vector<double> latencies_;
    int missed_ = 0;
};
