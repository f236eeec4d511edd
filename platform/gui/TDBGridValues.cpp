#include "platform/gui/TDBGridValues.h"

#include "platform/core/DateSerial.h"
#include "platform/gui/TDBGrid.h"

namespace tdbgrid {

QString variantText(const Variant& v)
{
    switch (v.type()) {
    case VarType::Empty:
    case VarType::Null:
        return QString();
    case VarType::Integer:
    case VarType::Long:
    case VarType::Boolean:
        return QString::number(v.intValue());
    case VarType::Double:
        return QString::number(v.doubleValue(), 'g', 15);
    case VarType::Date:
        return SerialText(v.doubleValue());   // "yyyy/mm/dd", with the time of day when it has one
    case VarType::String:
        return v.stringValue();
    }
    return QString();
}

bool variantNumber(const Variant& v, double* out)
{
    if (v.isNumber()) {
        *out = v.doubleValue();
        return true;
    }
    if (v.isString()) {
        bool ok = false;
        *out = v.stringValue().trimmed().toDouble(&ok);
        return ok;
    }
    return false;
}

bool variantTrue(const Variant& v)
{
    double d = 0;
    if (variantNumber(v, &d))
        return d != 0;
    return v.isString() && v.stringValue().compare(QLatin1String("True"), Qt::CaseInsensitive) == 0;
}

Variant storable(const Variant& v)
{
    if (v.isEmpty() || (v.isString() && v.stringValue().isEmpty()))
        return Variant::null();
    return v;
}

Qt::Alignment qtAlignment(int a, bool number)
{
    switch (a) {
    case dbgLeft: return Qt::AlignLeft;
    case dbgRight: return Qt::AlignRight;
    case dbgCenter: return Qt::AlignHCenter;
    default: return number ? Qt::AlignRight : Qt::AlignLeft;
    }
}

}  // namespace tdbgrid
