#include "errorreport.h"

QString errorMessage(RuntimeError error)
{
    switch (error) {
    case RuntimeError::Overflow:
        return QStringLiteral("Run-time error '6':\n\nOverflow");
    case RuntimeError::DivisionByZero:
        return QStringLiteral("Run-time error '11':\n\nDivision by zero");
    case RuntimeError::InvalidOperation:
        return QStringLiteral("Run-time error '5':\n\nInvalid floating-point operation");
    case RuntimeError::InvalidPropertyValue:
        return QStringLiteral("Run-time error '380':\n\nInvalid property value");
    case RuntimeError::SubscriptOutOfRange:
        return QStringLiteral("Run-time error '9':\n\nSubscript out of range");
    }
    return QStringLiteral("Run-time error");
}
