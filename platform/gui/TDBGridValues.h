#pragma once
// How the data grid reads the values of its cells: as text (a date as "yyyy/mm/dd"), as a
// number, as true or false, as it is written to the database (an empty text is Null), and the
// Qt alignment of a column's TDBAlignment.
#include "platform/core/Variant.h"

#include <Qt>

namespace tdbgrid {

QString variantText(const Variant& v);
bool variantNumber(const Variant& v, double* out);   // false for a value that is no number
bool variantTrue(const Variant& v);
// What is written to the database: an empty text is Null.
Variant storable(const Variant& v);
Qt::Alignment qtAlignment(int a, bool number);   // dbgGeneral: numbers right, the rest left

}  // namespace tdbgrid
