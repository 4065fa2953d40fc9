#include "startup.h"

#include "programend.h"

#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstring>
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

void holdUntilOpened(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtFatalMsg) {
        bool noPlugin = false;
        for (const Held &held : heldMessages)
            noPlugin |= held.text.contains(QLatin1String("Could not find the Qt platform plugin"));
        std::fputs(noPlugin ? "quorvel: cannot open a display: Qt has no platform plugin for it\n"
                            : "quorvel: cannot open a display (set DISPLAY or WAYLAND_DISPLAY)\n",
                   stderr);
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

std::optional<int> answerCommandLine(int argc, char *argv[], const char *version)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::puts("Usage: quorvel  (a reflex game: pick a speed, press GO! and click the "
                      "wandering picture; no options but --help and --version)");
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("quorvel %s\n", version);
            return 0;
        }
    }
    return std::nullopt;
}

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
