#include "displayopening.h"

#include "programend.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <cstdio>
#include <vector>

namespace {

// The message handler is a plain function, so what it needs lives here, for the short
// time the window system connection is being opened.
struct Held
{
    QtMsgType type;
    QByteArray category;
    QString text;
};
QtMessageHandler previousHandler = nullptr;
std::vector<Held> heldMessages;
bool watching = false;

// What could not be opened, in the words a player can act on: the display Qt names
// (or the one the environment names), and only when nothing names one the variables
// that would.
QByteArray noDisplayLine()
{
    for (const Held &held : heldMessages) {
        if (held.text.contains(QLatin1String("Could not find the Qt platform plugin")))
            return "quorvel: cannot open a display: Qt has no platform plugin for it\n";
    }
    const QLatin1String xcbTried("could not connect to display ");
    for (const Held &held : heldMessages) {
        const qsizetype at = held.text.indexOf(xcbTried);
        if (at >= 0) {
            const QString name = held.text.mid(at + xcbTried.size()).trimmed();
            if (!name.isEmpty())
                return "quorvel: cannot open display " + name.toLocal8Bit() + "\n";
        }
    }
    QStringList named;
    const QByteArray x11 = qgetenv("DISPLAY");
    if (!x11.isEmpty())
        named << QStringLiteral("display ") + QString::fromLocal8Bit(x11);
    const QByteArray wayland = qgetenv("WAYLAND_DISPLAY");
    if (!wayland.isEmpty())
        named << QStringLiteral("Wayland display ") + QString::fromLocal8Bit(wayland);
    if (named.isEmpty())
        return "quorvel: cannot open a display (set DISPLAY or WAYLAND_DISPLAY)\n";
    return "quorvel: cannot open " + named.join(QLatin1String(" or ")).toLocal8Bit() + "\n";
}

void holdUntilOpened(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtFatalMsg) {
        std::fputs(noDisplayLine().constData(), stderr);
        exitProcessNow(1);
    }
    heldMessages.push_back({type, QByteArray(context.category ? context.category : ""), text});
}

void replay()
{
    for (Held &held : heldMessages) {
        QMessageLogContext context(nullptr, 0, nullptr, held.category.constData());
        if (previousHandler)
            previousHandler(held.type, context, held.text);
    }
    heldMessages.clear();
}

} // namespace

DisplayOpening::DisplayOpening()
{
    watching = true;
    previousHandler = qInstallMessageHandler(holdUntilOpened);
}

DisplayOpening::~DisplayOpening()
{
    opened();
}

void DisplayOpening::opened()
{
    if (!watching)
        return;
    watching = false;
    qInstallMessageHandler(previousHandler);
    replay();
}
