#include "listbox.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>

ListBox::ListBox(QWidget *parent)
    : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &ListBox::keepASelection);
}

void ListBox::keepASelection()
{
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    if (!selected.isEmpty()) {
        lastSelected_ = selected.first();
        return;
    }
    // Whatever took the selection away (a click on the blank strip below the items,
    // Ctrl with a click or Space on the selected one, an accessibility client), the
    // last choice stands.
    if (lastSelected_.isValid())
        selectionModel()->select(lastSelected_, QItemSelectionModel::Select);
}

namespace {

// A ring `depth` pixels deep just inside `outer`, whole pixels at any scale.
void fillRing(QPainter &painter, const QRect &outer, int depth, const QColor &colour)
{
    QPainterPath ring;
    ring.setFillRule(Qt::OddEvenFill);
    ring.addRect(outer);
    ring.addRect(outer.adjusted(depth, depth, -depth, -depth));
    painter.fillPath(ring, colour);
}

} // namespace

// With the focus, the list is ringed in the highlight colour two pixels deep: the frame
// the style draws, and the outermost pixel of the items' area inside it.
bool ListBox::event(QEvent *event)
{
    const bool handled = QListWidget::event(event);
    if (event->type() == QEvent::Paint && hasFocus() && frameWidth() > 0) {
        QPainter painter(this);
        fillRing(painter, frameRect(), frameWidth(), palette().color(QPalette::Highlight).darker(125));
    }
    return handled;
}

void ListBox::paintEvent(QPaintEvent *event)
{
    QListWidget::paintEvent(event);
    if (hasFocus()) {
        QPainter painter(viewport());
        fillRing(painter, viewport()->rect(), 1, palette().color(QPalette::Highlight));
    }
}
