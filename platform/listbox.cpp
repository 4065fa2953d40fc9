#include "listbox.h"

ListBox::ListBox(QWidget *parent)
    : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &ListBox::keepASelection);
}

QItemSelectionModel::SelectionFlags ListBox::selectionCommand(const QModelIndex &index,
                                                              const QEvent *event) const
{
    // A click on the blank strip below the items, or Ctrl with a click or Space on the
    // selected item, would leave the list with no selection at all.
    const QItemSelectionModel::SelectionFlags command = QListWidget::selectionCommand(index, event);
    if (!index.isValid() || (command & QItemSelectionModel::Deselect))
        return QItemSelectionModel::NoUpdate;
    return command;
}

void ListBox::keepASelection()
{
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    if (!selected.isEmpty()) {
        lastSelected_ = selected.first();
        return;
    }
    // Whatever else took the selection away (an accessibility client, say), the last
    // choice stands.
    if (lastSelected_.isValid())
        selectionModel()->select(lastSelected_, QItemSelectionModel::Select);
}
