#pragma once

#include <QObject>
#include <QTimer>

class QAbstractButton;
class QKeyEvent;

// The keyboard's side of one button: Space, Return and Enter press it, a key pressed
// while it has the focus and released again. A held key presses it once, when it goes
// up; its repeats press nothing, and a key already held when the button got the focus
// presses nothing. While a key is down on it the button shows as down.
class ButtonKeys final : public QObject
{
    Q_OBJECT

public:
    explicit ButtonKeys(QAbstractButton &button);

    // A key event the button was given; false for a key that does not press buttons.
    bool keyPress(const QKeyEvent &event);
    bool keyRelease(const QKeyEvent &event);

    // The focus came or went: whatever key went down before presses nothing.
    void letGo();

signals:
    void pressed();

private:
    void keyPressDone();

    QAbstractButton &button_;
    int heldKey_ = 0;       // the key that went down on this button, 0 for none
    quint64 heldSince_ = 0; // its hold
    QTimer release_;        // a release that may yet turn out to be a repeat
};
