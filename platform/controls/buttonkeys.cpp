#include "buttonkeys.h"

#include "heldkeys.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QKeyEvent>

namespace {

bool pressesButtons(int key)
{
    return key == Qt::Key_Space || key == Qt::Key_Select || key == Qt::Key_Return
        || key == Qt::Key_Enter;
}

HeldKeys &heldKeys()
{
    return HeldKeys::of(*QCoreApplication::instance());
}

} // namespace

ButtonKeys::ButtonKeys(QAbstractButton &button)
    : button_(button)
{
    heldKeys(); // watching from the first key on
    release_.setSingleShot(true);
    connect(&release_, &QTimer::timeout, this, &ButtonKeys::keyPressDone);
}

bool ButtonKeys::keyPress(const QKeyEvent &event)
{
    if (!pressesButtons(event.key()))
        return false;
    const HeldKeys::Press press = heldKeys().press(event);
    if (release_.isActive()) {
        // The release just before was a held key's repeat after all: still held.
        if (event.key() == heldKey_ && !press.fresh && press.hold == heldSince_) {
            release_.stop();
            return true;
        }
        keyPressDone();
        return true;
    }
    if (!press.fresh || heldKey_ != 0)
        return true;
    heldKey_ = event.key();
    heldSince_ = press.hold;
    button_.setDown(true);
    return true;
}

bool ButtonKeys::keyRelease(const QKeyEvent &event)
{
    if (!pressesButtons(event.key()))
        return false;
    if (event.isAutoRepeat() || event.key() != heldKey_ || release_.isActive())
        return true;
    const int grace = heldKeys().repeatPairGrace();
    if (grace > 0)
        release_.start(grace);
    else
        keyPressDone();
    return true;
}

void ButtonKeys::keyPressDone()
{
    release_.stop();
    const bool done = heldKey_ != 0 && button_.hasFocus();
    letGo();
    if (done)
        emit pressed();
}

void ButtonKeys::letGo()
{
    release_.stop();
    // Only a key's press is undone here: a mouse button may be down on the button while
    // the window is made active and the focus arrives.
    if (heldKey_ != 0)
        button_.setDown(false);
    heldKey_ = 0;
    heldSince_ = 0;
}
