#pragma once

#include <QString>

class QListWidget;

// A list's Text: the selected item's text, or empty when nothing is selected.
QString listText(const QListWidget &list);
// Selects the first item whose text matches exactly; false when none does.
bool setListText(QListWidget &list, const QString &text);
