#include "eventpump.h"

#include <QCoreApplication>

// A desktop's window system queues input while the game computes: the wait stays busy.
void QtEventPump::pumpOnce(double)
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}
