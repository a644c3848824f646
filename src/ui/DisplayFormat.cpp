#include "ui/DisplayFormat.h"

#include "data/Values.h"

#include <cmath>

namespace varnel::ui {

using data::FieldType;

QString displayText(const data::FieldDef &field, const QVariant &value, NumberStyle style) {
    if (!value.isValid() || value.isNull())
        return QString();
    switch (field.type) {
    case FieldType::Currency:
        if (style != NumberStyle::TwoPlaces)
            return QString::number(value.toDouble(), 'f', 2);
        [[fallthrough]];
    case FieldType::Float: {
        const double v = value.toDouble();
        if (style == NumberStyle::Money)
            return QString::number(v, 'f', 2);
        if (style == NumberStyle::TwoPlaces) {
            QString s = QString::number(v, 'f', 2);
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
