#include "listboxreader.h"

#include "readercontainer.h"

#include <QAccessible>
#include <QApplication>
#include <QEvent>
#include <QListWidget>
#include <private/qaccessiblebridgeutils_p.h>

#include <emscripten.h>

#include <string>

using emscripten::val;

namespace {

// Each reader's number: the page's click on an option names its reader by it, so that
// nothing in the page holds a pointer into the program.
int nextReaderId = 1;

// Qt's bridge gives each element the id of the control it stands for, which it reads
// as a reader would; a rule in the bridge's container hides the list's.
QString bridgeId(QListWidget &list)
{
    return QAccessibleBridgeUtils::accessibleId(QAccessible::queryAccessibleInterface(&list));
}

EM_JS(void, quorvel_listbox_listen, (emscripten::EM_VAL listbox, int readerId), {
    Emval.toValue(listbox).addEventListener("click", event => {
        const option = event.target.closest('[role="option"]');
        if (option)
            Module._quorvel_choose_list_item(readerId, Number(option.dataset.row));
    });
});

} // namespace

ListBoxReader &ListBoxReader::of(QListWidget &list)
{
    for (QObject *child : list.children()) {
        if (auto *reader = dynamic_cast<ListBoxReader *>(child))
            return *reader;
    }
    return *new ListBoxReader(list);
}

ListBoxReader::ListBoxReader(QListWidget &list)
    : QObject(&list), list_(list), id_(nextReaderId++)
{
    list.installEventFilter(this);
    connect(&list, &QListWidget::itemSelectionChanged, this, &ListBoxReader::update);
    connect(list.model(), &QAbstractItemModel::rowsInserted, this, &ListBoxReader::update);
    connect(list.model(), &QAbstractItemModel::rowsRemoved, this, &ListBoxReader::update);
    connect(list.model(), &QAbstractItemModel::dataChanged, this, &ListBoxReader::update);
}

void ListBoxReader::update()
{
    if (listbox_.isUndefined()) {
        val container = readerContainer(list_);
        if (container.isUndefined())
            return;
        val document = container["ownerDocument"];
        val rule = document.call<val>("createElement", std::string("style"));
        rule.set("textContent", "[id=\"" + bridgeId(list_).toStdString()
                                    + "\"] { display: none; }");
        container.call<void>("appendChild", rule);
        listbox_ = document.call<val>("createElement", std::string("div"));
        listbox_.call<void>("setAttribute", std::string("role"), std::string("listbox"));
        listbox_["style"].set("pointerEvents", std::string("none"));
        container.call<void>("appendChild", listbox_);
        quorvel_listbox_listen(listbox_.as_handle(), id_);
    }

    const QString name = list_.accessibleName();
    if (name.isEmpty())
        listbox_.call<void>("removeAttribute", std::string("aria-label"));
    else
        listbox_.call<void>("setAttribute", std::string("aria-label"), name.toStdString());
    listbox_.set("hidden", !list_.isVisible());
    placeOver(listbox_, list_);

    val options = listbox_["children"];
    while (options["length"].as<int>() > list_.count())
        listbox_.call<void>("removeChild", listbox_["lastElementChild"]);
    val document = listbox_["ownerDocument"];
    for (int row = 0; row < list_.count(); ++row) {
        if (row >= options["length"].as<int>()) {
            val option = document.call<val>("createElement", std::string("div"));
            option.call<void>("setAttribute", std::string("role"), std::string("option"));
            option["dataset"].set("row", row);
            listbox_.call<void>("appendChild", option);
        }
        const QListWidgetItem *item = list_.item(row);
        val option = options[row];
        option.set("textContent", item->text().toStdString());
        option.call<void>("setAttribute", std::string("aria-selected"),
                          std::string(item->isSelected() ? "true" : "false"));
    }
}

void ListBoxReader::choose(int readerId, int row)
{
    for (QWidget *widget : QApplication::allWidgets()) {
        auto *list = qobject_cast<QListWidget *>(widget);
        if (!list)
            continue;
        for (QObject *child : list->children()) {
            auto *reader = dynamic_cast<ListBoxReader *>(child);
            if (reader && reader->id_ == readerId && row >= 0 && row < list->count()
                && list->isVisible() && list->isEnabled()) {
                list->setCurrentRow(row);
                return;
            }
        }
    }
}

bool ListBoxReader::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::Move:
    case QEvent::Resize:
        update();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

// A screen reader's click on an option of a listbox.
extern "C" EMSCRIPTEN_KEEPALIVE void quorvel_choose_list_item(int readerId, int row)
{
    ListBoxReader::choose(readerId, row);
}
