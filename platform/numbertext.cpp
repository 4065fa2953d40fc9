#include "numbertext.h"

#include <QLocale>

QString integerText(qint16 value)
{
    return QString::number(value);
}

QString singleText(float value)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(static_cast<double>(value), 'g', 7);
}
