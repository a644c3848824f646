#include "ui/DisplayFormat.h"

#include "calc/Money.h"
#include "data/Values.h"

#include <cmath>

namespace varnel::ui {

using data::FieldType;

QString displayText(const data::FieldDef &field, const QVariant &value, NumberStyle style) {
    if (!value.isValid() || value.isNull())
        return QString();
    switch (field.type) {
    case FieldType::Currency:
        if (style == NumberStyle::Plain || style == NumberStyle::Money)
            return calc::formatN(value.toDouble(), 0, 2);
        [[fallthrough]];
    case FieldType::Float: {
        const double v = value.toDouble();
        if (style == NumberStyle::Money)
            return calc::formatN(v, 0, 2);
        if (style == NumberStyle::Digits3)
            return QString::number(v, 'g', 3);
        if (style == NumberStyle::TwoPlaces) {
            QString s = calc::formatN(v, 0, 2);
            while (s.contains(QLatin1Char('.')) && (s.endsWith(QLatin1Char('0')) || s.endsWith(QLatin1Char('.'))))
                s.chop(1);
            return s;
        }
        return data::formatFloat(v);
    }
    case FieldType::Date:
        return data::formatDate(value.toDate());
    case FieldType::Boolean:
        return value.toBool() ? QStringLiteral("Tak") : QStringLiteral("Nie");
    default:
        return value.toString();
    }
}

}  // namespace varnel::ui
