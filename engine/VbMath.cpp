#include "engine/VbMath.h"

#include "foundation/cBase.h"
#include "platform/core/Database.h"

#include <cmath>

void RaiseOverflow() { throw OverflowError(); }
void RaiseDivisionByZero() { throw EngineError(QStringLiteral("0 で除算しました。")); }
void RaiseSubscript() { throw EngineError(QStringLiteral("インデックスが有効範囲にありません。")); }

double RoundHalfEven(double value)
{
    // The default floating-point environment rounds to nearest, ties to even.
    return std::nearbyint(value);
}

int16_t CIntOf(double value)
{
    const double r = RoundHalfEven(value);
    if (!(r >= -32768.0 && r <= 32767.0))
        RaiseOverflow();
    return int16_t(r);
}

int32_t CLngOf(double value)
{
    const double r = RoundHalfEven(value);
    if (!(r >= -2147483648.0 && r <= 2147483647.0))
        RaiseOverflow();
    return int32_t(r);
}

namespace {
double numberOf(const Variant& value)
{
    if (value.isEmpty())
        return 0.0;
    if (value.isNull())
        throw EngineError(QStringLiteral("Null の使い方が不正です。"));
    if (value.isNumber() || value.type() == VarType::Date)
        return value.doubleValue();
    double d = 0.0;
    if (value.isString() && ReadNumberText(value.stringValue(), &d))
        return d;
    throw EngineError(QStringLiteral("型が一致しません。"));
}
}

int16_t CIntOf(const Variant& value) { return CIntOf(numberOf(value)); }
int32_t CLngOf(const Variant& value) { return CLngOf(numberOf(value)); }

int16_t CellsOf(int32_t size, int32_t unit)
{
    if (unit == 0)
        RaiseDivisionByZero();
    return CIntOf(double(size) / double(unit));
}

int32_t CellsOfLong(int32_t size, int32_t unit)
{
    if (unit == 0)
        RaiseDivisionByZero();
    return CLngOf(double(size) / double(unit));
}

int32_t MulLong(int32_t a, int32_t b)
{
    int32_t r;
    if (__builtin_mul_overflow(a, b, &r))
        RaiseOverflow();
    return r;
}

QString ErrorDescription(const std::exception& e)
{
    if (const auto* x = dynamic_cast<const EngineError*>(&e))
        return x->description();
    if (const auto* x = dynamic_cast<const DbError*>(&e))
        return x->description();
    return QString::fromUtf8(e.what());
}
