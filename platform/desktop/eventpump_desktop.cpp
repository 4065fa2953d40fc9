#include "eventpump.h"

#include <QCoreApplication>

void QtEventPump::pumpOnce()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}
