#pragma once

class ErrorReport;

// The round's arithmetic is bracketed by these two calls: clear the status, compute,
// then raise Overflow, DivisionByZero or InvalidOperation for any fault it left.
// `result` is what the computation gave; where the processor keeps no fault flags
// (WebAssembly), the check reads the fault from it instead.
void clearFloatFaults();
void checkFloatFaults(ErrorReport &errors, double result);
