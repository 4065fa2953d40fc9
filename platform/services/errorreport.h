#pragma once

#include <QString>

// The run-time errors the game can raise. None of them is trapped: each one is
// reported and ends the program.
enum class RuntimeError {
    Overflow,              // 16-bit overflow, or a floating-point result too large
    DivisionByZero,
    InvalidOperation,      // a floating-point operation with no defined result
    InvalidPropertyValue,  // a widget refused a value
    SubscriptOutOfRange,   // a control array has no element at an index
};

QString errorMessage(RuntimeError error);

class ErrorReport
{
public:
    virtual ~ErrorReport() = default;
    [[noreturn]] virtual void raise(RuntimeError error) = 0;
};

// Shows a message box that names the error, then ends the process with status 1.
class MessageBoxErrorReport final : public ErrorReport
{
public:
    explicit MessageBoxErrorReport(QString title) : title_(std::move(title)) {}
    [[noreturn]] void raise(RuntimeError error) override;

private:
    QString title_;
};
