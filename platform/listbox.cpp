#include "listbox.h"

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
