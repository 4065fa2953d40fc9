#pragma once

#include <QString>
#include <QtGlobal>

// Numbers as the labels show them.
// A 16-bit integer: its decimal digits, a minus sign for negatives, no leading blank.
QString integerText(qint16 value);
// A single: at most 7 significant digits, no trailing zeros, ASCII digits and sign, and
// the decimal separator of the user's locale.
QString singleText(float value);
