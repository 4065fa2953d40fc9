#include "numbertext.h"

#include <QLocale>

QString integerText(qint16 value)
{
    return QString::number(value);
}

QString singleText(float value)
{
    // Digits, sign and exponent as the integer text writes them; only the decimal
    // separator is the user's.
    QString text = QString::number(static_cast<double>(value), 'g', 7);
    const QString separator = QLocale().decimalPoint();
    if (separator != QLatin1String("."))
        text.replace(QLatin1Char('.'), separator);
    return text;
}
