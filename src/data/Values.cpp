#include "data/Values.h"

#include <QRegularExpression>
#include <cmath>

namespace varnel::data {

QString formatDate(const QDate &d) { return d.isValid() ? d.toString(QStringLiteral("dd.MM.yyyy")) : QString(); }

std::optional<QDate> parseDate(const QString &text, bool *ok) {
    const QString t = text.trimmed();
    if (ok)
        *ok = true;
    if (t.isEmpty())
        return std::nullopt;
    static const QRegularExpression iso(QStringLiteral(R"(^(\d{4})-(\d{1,2})-(\d{1,2})$)"));
    static const QRegularExpression dmy(QStringLiteral(R"(^(\d{1,2})[./-](\d{1,2})[./-](\d{4})$)"));
    QDate d;
    if (auto m = iso.match(t); m.hasMatch())
        d = QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    else if (auto m2 = dmy.match(t); m2.hasMatch())
        d = QDate(m2.captured(3).toInt(), m2.captured(2).toInt(), m2.captured(1).toInt());
    if (!d.isValid()) {
        if (ok)
            *ok = false;
        return std::nullopt;
    }
    return d;
}

std::optional<double> parseNumber(const QString &text, bool *ok) {
    QString t = text.trimmed();
    if (ok)
        *ok = true;
    if (t.isEmpty())
        return std::nullopt;
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool good = false;
    const double v = t.toDouble(&good);
    if (!good || !std::isfinite(v)) {
        if (ok)
            *ok = false;
        return std::nullopt;
    }
    return v;
}

std::optional<qint64> parseInteger(const QString &text, bool *ok) {
    const QString t = text.trimmed();
    if (ok)
        *ok = true;
    if (t.isEmpty())
        return std::nullopt;
    bool good = false;
    const qint64 v = t.toLongLong(&good);
    if (!good) {
        if (ok)
            *ok = false;
        return std::nullopt;
    }
    return v;
}

std::optional<bool> parseBoolean(const QString &text, bool *ok) {
    const QString t = text.trimmed().toLower();
    if (ok)
        *ok = true;
    if (t.isEmpty())
        return std::nullopt;
    if (t == QLatin1String("1") || t == QLatin1String("true") || t == QLatin1String("tak") || t == QLatin1String("t")
        || t == QLatin1String("yes"))
        return true;
    if (t == QLatin1String("0") || t == QLatin1String("false") || t == QLatin1String("nie") || t == QLatin1String("f")
        || t == QLatin1String("no"))
        return false;
    if (ok)
        *ok = false;
    return std::nullopt;
}

QString formatFloat(double v) {
    if (v == std::floor(v) && std::fabs(v) < 1e15)
        return QString::number(static_cast<qint64>(v));
    QString s = QString::number(v, 'g', 15);
    if (s.toDouble() != v)
        s = QString::number(v, 'g', 17);
    return s;
}

}  // namespace varnel::data
