#include "accessibility.h"

#include "commandbutton.h"
#include "picturebox.h"

#include <QAccessibleWidget>

namespace {

// A push button that offers "Press" only while a click on it would count: a hidden
// "GO!" or "Change Icon" has nothing to press, and a press that comes anyway is ignored.
class CommandButtonAccessible final : public QAccessibleWidget
{
public:
    explicit CommandButtonAccessible(CommandButton *button)
        : QAccessibleWidget(button, QAccessible::Button)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        QString text = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && text.isEmpty())
            text = button()->text().remove(QLatin1Char('&'));
        return text;
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.pressed = button()->isDown();
        return state;
    }

    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        if (button()->takesClicks())
            names.prepend(pressAction());
        return names;
    }

    void doAction(const QString &actionName) override
    {
        if (actionName != pressAction()) {
            QAccessibleWidget::doAction(actionName);
            return;
        }
        if (button()->takesClicks())
            button()->animateClick();
    }

private:
    CommandButton *button() const { return static_cast<CommandButton *>(widget()); }
};

QAccessibleInterface *gameWidgetAccessible(const QString &className, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    auto *widget = static_cast<QWidget *>(object);
    const QMetaObject *type = widget->metaObject();
    if (className != QLatin1String(type->className()))
        return nullptr;
    if (auto *button = qobject_cast<CommandButton *>(widget))
        return new CommandButtonAccessible(button);
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
