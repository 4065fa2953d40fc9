#pragma once

class ErrorReport;

// The round's arithmetic is bracketed by these two calls: clear the status, compute,
// then raise Overflow, DivisionByZero or InvalidOperation for any fault it left.
void clearFloatFaults();
void checkFloatFaults(ErrorReport &errors);
