#include "screenreaders.h"

#include "listboxreader.h"
#include "readercontainer.h"

#include <QAccessible>
#include <QLabel>
#include <QListWidget>
#include <QVariant>
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include <string>

using emscripten::val;

namespace {

const char *const kLastTextProperty = "quorvelReaderText";
const char *const kAnnouncerClass = "quorvel-announcer";

// A polite live region in the label's window: what is put in it is read out once the
// reader has finished what it is saying.
void announce(const QWidget &label, const QString &text)
{
    val container = readerContainer(label);
    if (container.isUndefined())
        return;
    val region = container.call<val>("querySelector", std::string(".") + kAnnouncerClass);
    if (region.isNull()) {
        region = container["ownerDocument"].call<val>("createElement", std::string("div"));
        region.call<void>("setAttribute", std::string("role"), std::string("status"));
        region.call<void>("setAttribute", std::string("aria-live"), std::string("polite"));
        region["classList"].call<void>("add", std::string(kAnnouncerClass));
        container.call<void>("appendChild", region);
    }
    region.set("textContent", text.toStdString());
}

// A label that said nothing and now says something is a message to the player (the
// rating after a round): it is announced. Labels that change from one text to another
// (a timer, a count) are read when the reader comes to them.
void labelChanged(QLabel &label)
{
    const QString text = label.text();
    const QVariant before = label.property(kLastTextProperty);
    label.setProperty(kLastTextProperty, text);
    if (before.isValid() && before.toString().trimmed().isEmpty() && !text.trimmed().isEmpty()
        && label.isVisible())
        announce(label, text);
}

void toPlatformBridge(QAccessibleEvent *event)
{
    if (QPlatformAccessibility *bridge = QGuiApplicationPrivate::platformIntegration()->accessibility())
        bridge->notifyAccessibilityUpdate(event);
}

void onAccessibilityUpdate(QAccessibleEvent *event)
{
    toPlatformBridge(event);
    QObject *object = event->object();
    if (!object)
        return;
    if (auto *list = qobject_cast<QListWidget *>(object)) {
        if (event->type() == QAccessible::ObjectShow || event->type() == QAccessible::ObjectHide)
            ListBoxReader::of(*list).update();
    } else if (auto *label = qobject_cast<QLabel *>(object)) {
        if (event->type() == QAccessible::NameChanged)
            labelChanged(*label);
    }
}

} // namespace

void bridgeToScreenReaders()
{
    QAccessible::installUpdateHandler(&onAccessibilityUpdate);
}
