#include "numbertext.h"

#include <QLocale>

#include <charconv>

QString integerText(qint16 value)
{
    return QString::number(value);
}

QString singleText(float value)
{
    // Digits, sign and exponent as the integer text writes them; only the decimal
    // separator is the user's.
    // std::to_chars rounds to seven digits without the arbitrary-precision fallback
    // that QString::number takes for some values: this runs on every tick.
    char digits[32];
    const auto written = std::to_chars(digits, digits + sizeof digits, value,
                                       std::chars_format::general, 7);
    QString text = QString::fromLatin1(digits, written.ptr - digits);
    const QString separator = QLocale().decimalPoint();
    if (separator != QLatin1String("."))
        text.replace(QLatin1Char('.'), separator);
    return text;
}
