#pragma once

#include <QString>
#include <QtGlobal>

// Numbers as the labels show them.
// A 16-bit integer: its decimal digits, a minus sign for negatives, no leading blank.
QString integerText(qint16 value);
// A single: at most 7 significant digits, no trailing zeros, the user's decimal separator.
QString singleText(float value);
