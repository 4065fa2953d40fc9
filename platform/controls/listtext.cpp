#include "listtext.h"

#include <QListWidget>

QString listText(const QListWidget &list)
{
    const QList<QListWidgetItem *> selected = list.selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

bool setListText(QListWidget &list, const QString &text)
{
    for (int row = 0; row < list.count(); ++row) {
        if (list.item(row)->text() == text) {
            list.setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
            return true;
        }
    }
    return false;
}
