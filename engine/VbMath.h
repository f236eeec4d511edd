#pragma once
// The strict conversions and run-time errors of the engine's arithmetic: a value that does not fit
// its 16-bit or 32-bit target, a division by zero or a Null raises an EngineError, which the
// procedure's own handler writes to the error log.
#include "platform/core/Variant.h"

#include <QString>
#include <cstdint>
#include <stdexcept>

class EngineError : public std::runtime_error {
public:
    explicit EngineError(const QString& description)
        : std::runtime_error(description.toStdString()), description_(description) {}
    const QString& description() const { return description_; }

private:
    QString description_;
};

// A value that does not fit its integer type.
class OverflowError : public EngineError {
public:
    OverflowError() : EngineError(QStringLiteral("オーバーフローしました。")) {}
};

[[noreturn]] void RaiseOverflow();
[[noreturn]] void RaiseDivisionByZero();
[[noreturn]] void RaiseSubscript();

// The nearest whole number, a half to the even neighbour.
double RoundHalfEven(double value);
// A double rounded half to even into 16 or 32 bits; overflow raises.
int16_t CIntOf(double value);
int32_t CLngOf(double value);
// A variant as a number, then as above: Empty is 0, Null and non-numeric text raise.
int16_t CIntOf(const Variant& value);
int32_t CLngOf(const Variant& value);
// size / unit in floating point, rounded half to even (the reduction to cells).
int16_t CellsOf(int32_t size, int32_t unit);
int32_t CellsOfLong(int32_t size, int32_t unit);
// a * b in 32 bits; overflow raises.
int32_t MulLong(int32_t a, int32_t b);

// The description of a caught exception, for the error log.
QString ErrorDescription(const std::exception& e);
