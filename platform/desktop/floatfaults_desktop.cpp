#include "floatfaults.h"
#include "errorreport.h"

#include <cfenv>

void clearFloatFaults()
{
    std::feclearexcept(FE_ALL_EXCEPT);
}

void checkFloatFaults(ErrorReport &errors, double)
{
    const int raised = std::fetestexcept(FE_OVERFLOW | FE_DIVBYZERO | FE_INVALID);
    if (raised & FE_INVALID)
        errors.raise(RuntimeError::InvalidOperation);
    if (raised & FE_DIVBYZERO)
        errors.raise(RuntimeError::DivisionByZero);
    if (raised & FE_OVERFLOW)
        errors.raise(RuntimeError::Overflow);
}
