#pragma once

#include <QListWidget>
#include <QPersistentModelIndex>

// A classic single-selection list box: a click, a key or an accessibility action can
// move the selection to another item, but once an item is selected nothing clears it.
// With the keyboard focus its frame is drawn in the highlight colour, as a focused
// button's is, so that a keyboard player sees where the arrow keys will go.
class ListBox : public QListWidget
{
    Q_OBJECT

public:
    explicit ListBox(QWidget *parent = nullptr);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void keepASelection();

    QPersistentModelIndex lastSelected_;
};
