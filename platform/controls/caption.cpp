#include "caption.h"

#include <QLabel>

void setCaption(QLabel &label, const QString &text)
{
    // Setting the wrap lays the label out anew even when it does not change, and the
    // timer's label gets a new text every tick.
    const bool wrap = text.trimmed().contains(QLatin1Char(' '));
    if (label.wordWrap() != wrap)
        label.setWordWrap(wrap);
    label.setText(text);
}
