#pragma once

#include <QPointF>

class QWidget;

// Posts a left press and release at `at` (in the widget's own coordinates) to the
// widget's event queue, as the window system would deliver a click, for the next
// pump of the event loop to handle.
void postClick(QWidget &widget, QPointF at);
