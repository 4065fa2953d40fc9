#include "resultfault.h"

#include <cmath>

std::optional<RuntimeError> faultInResult(double result)
{
    if (std::isnan(result))
        return RuntimeError::InvalidOperation;
    if (std::isinf(result))
        return RuntimeError::Overflow;
    return std::nullopt;
}
