#include "postclick.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>

void postClick(QWidget &widget, QPointF at)
{
    const QPointF global = widget.mapToGlobal(at);
    QCoreApplication::postEvent(&widget, new QMouseEvent(QEvent::MouseButtonPress, at, global,
                                                         Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(&widget, new QMouseEvent(QEvent::MouseButtonRelease, at, global,
                                                         Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
}
