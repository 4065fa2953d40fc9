#include "heldkeys.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWindow>

HeldKeys &HeldKeys::of(QCoreApplication &app)
{
    if (auto *keys = app.findChild<HeldKeys *>(QString(), Qt::FindDirectChildrenOnly))
        return *keys;
    return *new HeldKeys(app);
}

HeldKeys::HeldKeys(QCoreApplication &app)
    : QObject(&app)
{
    app.installEventFilter(this);
}

HeldKeys::Press HeldKeys::press(const QKeyEvent &event) const
{
    if (seenAny_ && lastPress_.key == event.key() && lastPress_.timestamp == event.timestamp())
        return lastPress_.verdict;
    // Sent straight to a widget, past the window: only its own mark tells.
    return {!event.isAutoRepeat(), 0};
}

bool HeldKeys::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        if (watched->isWindowType())
            pressed(*static_cast<QKeyEvent *>(event));
        break;
    case QEvent::KeyRelease:
        if (watched->isWindowType())
            released(*static_cast<QKeyEvent *>(event));
        break;
    case QEvent::ApplicationStateChange:
        // Keys released while another program had the keyboard were never seen going up.
        if (watched == QCoreApplication::instance()
            && static_cast<QApplicationStateChangeEvent *>(event)->applicationState()
                   != Qt::ApplicationActive) {
            for (Key &key : keys_)
                key.down = false;
        }
        break;
    default:
        break;
    }
    return false;
}

void HeldKeys::pressed(const QKeyEvent &event)
{
    Key &key = keys_[event.key()];
    const bool pairedWithRelease = graceMs_ > 0 && key.released && key.releasedAt == event.timestamp();
    const bool repeat = event.isAutoRepeat() || key.down || pairedWithRelease;
    if (!repeat)
        key.hold = ++holds_;
    key.down = true;
    key.released = false;
    lastPress_ = {event.key(), event.timestamp(), {!repeat, key.hold}};
    seenAny_ = true;
}

void HeldKeys::released(const QKeyEvent &event)
{
    if (event.isAutoRepeat())
        return;
    Key &key = keys_[event.key()];
    key.down = false;
    key.released = true;
    key.releasedAt = event.timestamp();
}
