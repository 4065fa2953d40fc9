#pragma once

#include <emscripten/val.h>

class QWidget;

// The page element in which Qt's screen reader bridge keeps the elements that stand
// for the controls of `widget`'s window, laid out over the window in its own CSS pixels;
// undefined while the window has none.
emscripten::val readerContainer(const QWidget &widget);

// Places `element` over `widget`, as Qt's bridge places the elements it makes.
void placeOver(emscripten::val element, const QWidget &widget);
