#pragma once
// A dynamically typed value as the forms run time knows it: empty (never assigned), null
// (a database null), 16-bit and 32-bit integers, double, Boolean, date, or text.
#include <QString>
#include <cstdint>

enum class VarType { Empty, Null, Integer, Long, Double, Boolean, Date, String };

class Variant {
public:
    Variant() = default;                                  // Empty
    Variant(int16_t v) : t_(VarType::Integer), i_(v) {}
    Variant(int32_t v) : t_(VarType::Long), i_(v) {}
    Variant(double v) : t_(VarType::Double), d_(v) {}
    Variant(bool v) : t_(VarType::Boolean), i_(v ? -1 : 0) {}
    Variant(const QString& s) : t_(VarType::String), s_(s) {}
    Variant(const char* s) : t_(VarType::String), s_(QString::fromUtf8(s)) {}

    static Variant null() { Variant v; v.t_ = VarType::Null; return v; }
    // A date: days since 1899-12-30, the time of day as the fraction.
    static Variant date(double serial) { Variant v; v.t_ = VarType::Date; v.d_ = serial; return v; }

    VarType type() const { return t_; }
    bool isEmpty() const { return t_ == VarType::Empty; }
    bool isNull() const { return t_ == VarType::Null; }
    bool isString() const { return t_ == VarType::String; }
    bool isNumber() const {                                // a number or a Boolean
        return t_ == VarType::Integer || t_ == VarType::Long || t_ == VarType::Double || t_ == VarType::Boolean;
    }

    // Raw access; callers check type() first (cBase gives the forgiving conversions).
    int32_t intValue() const { return i_; }                // Integer, Long, Boolean (-1/0)
    double doubleValue() const { return t_ == VarType::Double || t_ == VarType::Date ? d_ : double(i_); }
    bool boolValue() const { return i_ != 0; }
    const QString& stringValue() const { return s_; }

    bool operator==(const Variant& o) const {
        return t_ == o.t_ && i_ == o.i_ && d_ == o.d_ && s_ == o.s_;
    }

private:
    VarType t_ = VarType::Empty;
    int32_t i_ = 0;
    double d_ = 0.0;
    QString s_;
};
