#include "caption.h"

#include <QLabel>

void setCaption(QLabel &label, const QString &text)
{
    label.setWordWrap(text.trimmed().contains(QLatin1Char(' ')));
    label.setText(text);
}
