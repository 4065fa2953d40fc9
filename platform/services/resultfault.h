#pragma once

#include "errorreport.h"

#include <optional>

// The fault that a finished computation shows in its result alone: an invalid
// operation leaves NaN, an overflow an infinity. A division by zero also leaves an
// infinity and so reads as an overflow; the round divides only by constants.
std::optional<RuntimeError> faultInResult(double result);
