#pragma once

#include <QObject>

class Clock;
class EventPump;
class QFrame;
class QLabel;
class QWidget;
class RandomSource;

// A round's work with no game code, the yardstick for the game's tick work: on the
// same clock and pump, each tick writes the elapsed seconds into the timer label,
// draws one random number, waits, and moves the floor window's frame 10 pixels (the
// game's 150 twips) along a heading that turns by the game's step; a click on the
// frame counts and shows the count in the clicks label.
class FloorRound final : public QObject
{
public:
    FloorRound(QWidget &window, Clock &clock, RandomSource &random, EventPump &pump);

    void play(double waitSeconds);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void step();

    QWidget &window_;
    Clock &clock_;
    RandomSource &random_;
    EventPump &pump_;
    QFrame *frame_;
    QLabel *timer_;
    QLabel *clicks_;
    int count_ = 0;
    double heading_ = 0.0;
};
