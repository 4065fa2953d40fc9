#include "commandbutton.h"

#include "heldkeys.h"

#include <QKeyEvent>

CommandButton::CommandButton(const QString &text, QWidget *parent)
    : QPushButton(text, parent)
{
    setAutoDefault(false);
    setDefault(false);
    HeldKeys::instance(); // watching from the first key on
    release_.setSingleShot(true);
    connect(&release_, &QTimer::timeout, this, &CommandButton::keyPressDone);
    connect(this, &QAbstractButton::clicked, this, [this] {
        if (takesClicks())
            emit Click();
    });
}

bool CommandButton::pressesButtons(int key)
{
    return key == Qt::Key_Space || key == Qt::Key_Select || key == Qt::Key_Return
        || key == Qt::Key_Enter;
}

void CommandButton::keyPressEvent(QKeyEvent *event)
{
    if (!pressesButtons(event->key())) {
        QPushButton::keyPressEvent(event);
        return;
    }
    event->accept();
    const HeldKeys::Press press = HeldKeys::instance().press(*event);
    if (release_.isActive()) {
        // The release just before was a held key's repeat after all: still held.
        if (event->key() == heldKey_ && !press.fresh && press.hold == heldSince_) {
            release_.stop();
            return;
        }
        keyPressDone();
        return;
    }
    if (!press.fresh || heldKey_ != 0)
        return;
    heldKey_ = event->key();
    heldSince_ = press.hold;
    setDown(true);
}

void CommandButton::keyReleaseEvent(QKeyEvent *event)
{
    if (!pressesButtons(event->key())) {
        QPushButton::keyReleaseEvent(event);
        return;
    }
    event->accept();
    if (event->isAutoRepeat() || event->key() != heldKey_ || release_.isActive())
        return;
    const int grace = HeldKeys::instance().repeatPairGrace();
    if (grace > 0)
        release_.start(grace);
    else
        keyPressDone();
}

void CommandButton::keyPressDone()
{
    release_.stop();
    const bool pressed = heldKey_ != 0 && hasFocus();
    letGo();
    if (pressed && takesClicks())
        click();
}

void CommandButton::letGo()
{
    release_.stop();
    heldKey_ = 0;
    heldSince_ = 0;
    setDown(false);
}

void CommandButton::focusInEvent(QFocusEvent *event)
{
    letGo();
    QPushButton::focusInEvent(event);
}

void CommandButton::focusOutEvent(QFocusEvent *event)
{
    letGo();
    QPushButton::focusOutEvent(event);
}
