#pragma once

#include <QEvent>
#include <QObject>

// Counts the double-clicks the window system makes of quick second presses on a widget.
class DoubleClickCounter final : public QObject
{
public:
    explicit DoubleClickCounter(QObject *watched) { watched->installEventFilter(this); }
    int count = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        count += event->type() == QEvent::MouseButtonDblClick;
        return false;
    }
};
