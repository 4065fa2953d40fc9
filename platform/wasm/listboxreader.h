#pragma once

#include <QObject>

#include <emscripten/val.h>

class QListWidget;

// A list box as screen readers know one, for a list widget in a page: an ARIA listbox
// over the list with an option for each item, the selected one marked, hidden while
// the list is. Choosing an option (a screen reader's "click") selects that item. The
// elements Qt's bridge makes for the list, which read as plain text, are hidden from
// readers. It lives as long as the list, as its child.
class ListBoxReader final : public QObject
{
public:
    // The reader of `list`, made the first time it is asked for.
    static ListBoxReader &of(QListWidget &list);

    // Brings the listbox up to date with the list: items, selection, visibility, place.
    void update();

    // Selects the item at `row` of the list whose reader has the id `readerId`, as a
    // click on it would; a reader that is gone, or a row it lacks, is ignored.
    static void choose(int readerId, int row);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit ListBoxReader(QListWidget &list);

    QListWidget &list_;
    const int id_;
    emscripten::val listbox_ = emscripten::val::undefined();
};
