#include "floatfaults.h"
#include "resultfault.h"

// WebAssembly has no floating-point status flags: the fault is read from the result.
void clearFloatFaults()
{
}

void checkFloatFaults(ErrorReport &errors, double result)
{
    if (const auto fault = faultInResult(result))
        errors.raise(*fault);
}
