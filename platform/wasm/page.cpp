#include "page.h"

#include <QAccessible>
#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QWidget>

#include <emscripten.h>
#include <emscripten/bind.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

EM_JS(void, quorvel_page_ended, (int status, const char *message), {
    const page = globalThis.quorvelPage;
    if (page && page.ended)
        page.ended(status, UTF8ToString(message));
});

QJsonObject describe(QAccessibleInterface *node)
{
    const QRect rect = node->rect();
    const QAccessible::State state = node->state();
    QJsonObject out{
        {QStringLiteral("name"), node->object() ? node->object()->objectName() : QString()},
        {QStringLiteral("role"), int(node->role())},
        {QStringLiteral("text"), node->text(QAccessible::Name)},
        {QStringLiteral("rect"), QJsonArray{rect.x(), rect.y(), rect.width(), rect.height()}},
        {QStringLiteral("visible"), !state.invisible},
        {QStringLiteral("enabled"), !state.disabled},
        {QStringLiteral("focused"), bool(state.focused)},
        {QStringLiteral("selected"), bool(state.selected)},
    };
    QJsonArray children;
    for (int i = 0; i < node->childCount(); ++i) {
        if (QAccessibleInterface *child = node->child(i))
            children.append(describe(child));
    }
    if (!children.isEmpty())
        out.insert(QStringLiteral("children"), children);
    return out;
}

// Browsers have no screen reader bridge for Qt 6.4's canvas yet, so the page reads the
// window's accessibility tree here: names, roles, texts, places in device-independent
// pixels, and states, as JSON. The end-to-end test reads the game through it.
std::string accessibleTree()
{
    QJsonArray windows;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (!window->isVisible())
            continue;
        if (QAccessibleInterface *node = QAccessible::queryAccessibleInterface(window))
            windows.append(describe(node));
    }
    return QJsonDocument(windows).toJson(QJsonDocument::Compact).toStdString();
}

} // namespace

void endGameInPage(int status, const QString &message)
{
    std::fflush(nullptr);
    quorvel_page_ended(status, message.toUtf8().constData());
    // Unwinds out of the game's code, wherever it is, and stops the runtime: the page's
    // events no longer reach the program.
    emscripten_force_exit(status);
    std::abort();
}

EMSCRIPTEN_BINDINGS(quorvel_page)
{
    emscripten::function("accessibleTree", &accessibleTree);
}
