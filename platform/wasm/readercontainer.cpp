#include "readercontainer.h"

#include <QWidget>
#include <QWindow>

#include <string>

using emscripten::val;

// Qt 6.8's browser platform keeps each window's canvas in the page's table of elements
// under "!qtwindow<id>", and the bridge's elements beside it.
val readerContainer(const QWidget &widget)
{
    const QWindow *window = widget.window()->windowHandle();
    if (!window)
        return val::undefined();
    const val canvas = val::module_property("specialHTMLTargets")[
        "!qtwindow" + std::to_string(window->winId())];
    if (canvas.isUndefined() || canvas.isNull() || canvas["parentElement"].isNull())
        return val::undefined();
    const val container = canvas["parentElement"].call<val>(
        "querySelector", std::string(".qt-window-a11y-container"));
    return container.isNull() ? val::undefined() : container;
}

void placeOver(val element, const QWidget &widget)
{
    const QPoint at = widget.mapTo(widget.window(), QPoint(0, 0));
    val style = element["style"];
    style.set("position", std::string("absolute"));
    style.set("left", std::to_string(at.x()) + "px");
    style.set("top", std::to_string(at.y()) + "px");
    style.set("width", std::to_string(widget.width()) + "px");
    style.set("height", std::to_string(widget.height()) + "px");
}
