#include "accessibility.h"

#include "picturebox.h"

#include <QAccessibleWidget>

namespace {

QAccessibleInterface *gameWidgetAccessible(const QString &className, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    auto *widget = static_cast<QWidget *>(object);
    const QMetaObject *type = widget->metaObject();
    if (className != QLatin1String(type->className()))
        return nullptr;
    if (qobject_cast<PictureBox *>(widget))
        return new QAccessibleWidget(widget, QAccessible::Graphic);
    if (widget->isWindow() && type->superClass() == &QWidget::staticMetaObject)
        return new QAccessibleWidget(widget, QAccessible::Window);
    return nullptr;
}

} // namespace

void installAccessibility()
{
    QAccessible::installFactory(&gameWidgetAccessible);
}
