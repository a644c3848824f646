#pragma once

#include "data/FieldDef.h"

#include <QVariant>

namespace varnel::ui {

// How a field's value reads in grids and edit boxes: money with a point and
// two decimals, floats as short as they are ("#.##" where asked), dates as
// dd.MM.yyyy, booleans as "Tak"/"Nie", blanks as nothing. A field with a
// format of its own (the lump-sum percentage Ryczalt_procent: three
// significant digits) shows in it wherever the plain style is asked.
enum class NumberStyle {
    Plain,      // floats: as short as they read back; money: two decimals
    TwoPlaces,  // "#.##": at most two decimals, none when whole
    Money,      // always two decimals
    Digits3,    // three significant digits (26.03 reads 26, 19.1 and 7.13 as they are)
};

// The style a field shows in when `asked` is the plain one: its own format
// where it has one.
NumberStyle styleOf(const data::FieldDef &field, NumberStyle asked = NumberStyle::Plain);

QString displayText(const data::FieldDef &field, const QVariant &value, NumberStyle style = NumberStyle::Plain);
// The text put into an edit box for editing; the same as displayText but
// booleans read as "True"/"False" are never edited in a text box anyway.
inline QString editText(const data::FieldDef &field, const QVariant &value, NumberStyle style = NumberStyle::Plain) {
    return displayText(field, value, style);
}

}  // namespace varnel::ui
