#include "ui/DisplayFormat.h"

#include "calc/Money.h"
#include "data/Values.h"

#include <cmath>

namespace varnel::ui {

using data::FieldType;

namespace {

// Three significant digits in fixed notation (never an exponent).
QString significantDigits3(double v) {
    const QString s = QString::number(v, 'g', 3);
    return s.contains(QLatin1Char('e')) ? QString::number(v, 'f', 0) : s;
}

}  // namespace

NumberStyle styleOf(const data::FieldDef &field, NumberStyle asked) {
    if (asked == NumberStyle::Plain && field.type == FieldType::Float
        && field.name.compare(QLatin1String("Ryczalt_procent"), Qt::CaseInsensitive) == 0)
        return NumberStyle::Digits3;
    return asked;
}

QString displayText(const data::FieldDef &field, const QVariant &value, NumberStyle asked) {
    if (!value.isValid() || value.isNull())
        return QString();
    const NumberStyle style = styleOf(field, asked);
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
            return significantDigits3(v);
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
