#include <QAccessible>
#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QWidget>

#include <emscripten.h>

#include <string>

namespace {

QJsonObject describe(QAccessibleInterface *node, QPoint origin)
{
    const QRect rect = node->rect().translated(-origin);
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
            children.append(describe(child, origin));
    }
    if (!children.isEmpty())
        out.insert(QStringLiteral("children"), children);
    return out;
}

EM_JS(void, quorvel_publish_tree, (const char *json), {
    Module.quorvelAccessibleTree = UTF8ToString(json);
});

std::string accessibleTree()
{
    QJsonArray windows;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (!window->isVisible())
            continue;
        if (QAccessibleInterface *node = QAccessible::queryAccessibleInterface(window))
            windows.append(describe(node, window->geometry().topLeft()));
    }
    return QJsonDocument(windows).toJson(QJsonDocument::Compact).toStdString();
}

} // namespace

// Browsers have no screen reader bridge for Qt 6.4's canvas yet, so the page can read
// the window's accessibility tree: `Module._quorvel_accessible_tree()` puts it in
// `Module.quorvelAccessibleTree` as JSON (names, roles, texts, places in the window in
// CSS pixels, states). The end-to-end test reads the game through it. A plain export,
// not an embind function: embind would take a call made while a round's wait is
// suspended for an asynchronous one and answer with a promise.
extern "C" EMSCRIPTEN_KEEPALIVE void quorvel_accessible_tree()
{
    quorvel_publish_tree(accessibleTree().c_str());
}
