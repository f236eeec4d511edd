#include "platform/core/ColumnValues.h"

#include "platform/core/Connection.h"
#include "platform/core/DateSerial.h"

namespace dbcore {

ColKind kindOf(const char* decltypeName)
{
    if (!decltypeName)
        return ColKind::Plain;
    const QString t = QString::fromUtf8(decltypeName).toUpper();
    if (t.contains(QLatin1String("BOOL")) || t == QLatin1String("BIT") || t.contains(QLatin1String("YESNO")))
        return ColKind::Boolean;
    if (t.contains(QLatin1String("SMALLINT")))
        return ColKind::Small;
    if (t.contains(QLatin1String("DATE")) || t.contains(QLatin1String("TIME")))
        return ColKind::Date;
    return ColKind::Plain;
}

Variant columnValue(sqlite3_stmt* st, int i, ColKind kind)
{
    switch (sqlite3_column_type(st, i)) {
    case SQLITE_NULL:
        return Variant::null();
    case SQLITE_INTEGER: {
        const sqlite3_int64 v = sqlite3_column_int64(st, i);
        if (kind == ColKind::Boolean)
            return Variant(v != 0);
        if (kind == ColKind::Date)
            return Variant::date(double(v));
        if (kind == ColKind::Small && v >= INT16_MIN && v <= INT16_MAX)
            return Variant(int16_t(v));
        if (v >= INT32_MIN && v <= INT32_MAX)
            return Variant(int32_t(v));
        return Variant(double(v));
    }
    case SQLITE_FLOAT: {
        const double v = sqlite3_column_double(st, i);
        if (kind == ColKind::Boolean)
            return Variant(v != 0.0);
        if (kind == ColKind::Date)
            return Variant::date(v);
        return Variant(v);
    }
    default: {
        const QString text = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)),
                                               sqlite3_column_bytes(st, i));
        double serial;
        if (kind == ColKind::Date && ParseSerialText(text, &serial))
            return Variant::date(serial);
        return Variant(text);
    }
    }
}

void bindValue(sqlite3* db, sqlite3_stmt* st, int index, const Variant& v)
{
    int rc = SQLITE_OK;
    switch (v.type()) {
    case VarType::Empty:
    case VarType::Null:
        rc = sqlite3_bind_null(st, index);
        break;
    case VarType::Integer:
    case VarType::Long:
    case VarType::Boolean:
        rc = sqlite3_bind_int64(st, index, v.intValue());
        break;
    case VarType::Double:
        rc = sqlite3_bind_double(st, index, v.doubleValue());
        break;
    case VarType::Date: {
        const QByteArray t = SerialText(v.doubleValue()).toUtf8();
        rc = sqlite3_bind_text(st, index, t.constData(), int(t.size()), SQLITE_TRANSIENT);
        break;
    }
    case VarType::String: {
        const QByteArray t = v.stringValue().toUtf8();
        rc = sqlite3_bind_text(st, index, t.constData(), int(t.size()), SQLITE_TRANSIENT);
        break;
    }
    }
    if (rc != SQLITE_OK)
        raise(db, rc);
}

}  // namespace dbcore
