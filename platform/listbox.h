#pragma once

#include <QListWidget>
#include <QPersistentModelIndex>

// A classic single-selection list box: a click, a key or an accessibility action can
// move the selection to another item, but once an item is selected nothing clears it.
class ListBox : public QListWidget
{
    Q_OBJECT

public:
    explicit ListBox(QWidget *parent = nullptr);

private:
    void keepASelection();

    QPersistentModelIndex lastSelected_;
};
