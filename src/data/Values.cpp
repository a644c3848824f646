#include "data/Values.h"

#include <QRegularExpression>
#include <QTextBoundaryFinder>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

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

qsizetype characterCount(QStringView text) {
    qsizetype n = 0;
    for (qsizetype i = 0; i < text.size(); ++i, ++n) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
    }
    return n;
}

QString cutToCharacters(const QString &text, qsizetype size) {
    if (characterCount(text) <= size)
        return text;
    // Cut at the last boundary of a user-perceived character (grapheme)
    // that leaves at most `size` code points.
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
    qsizetype cut = 0;
    qsizetype counted = 0;  // code points before `cut`
    for (qsizetype b = graphemes.toNextBoundary(); b > 0; b = graphemes.toNextBoundary()) {
        counted += characterCount(QStringView(text).mid(cut, b - cut));
        if (counted > size)
            break;
        cut = b;
    }
    return text.left(cut);
}

qsizetype forbiddenCharacterAt(const QString &text, bool memo) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.unicode() >= 0x20 && c.unicode() < 0x7F)
            continue;  // printable ASCII, most of every text: no control character
        if (c.category() != QChar::Other_Control)
            continue;
        if (memo && (c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r')))
            continue;
        return i;
    }
    return -1;
}

QString characterCode(QChar c) {
    return QStringLiteral("U+%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper();
}

// A whole number below 10^15 is written as one; any other value with 15
// significant digits when they read back the same, with 17 otherwise (in
// Qt's %g form, the exponent of at least two digits). std::to_chars and
// std::from_chars give the 15 digits and read them back exactly as Qt does,
// without building a string; Qt writes the 17 digits, as it rounds a value
// that stands exactly halfway between two of them upwards, where to_chars
// rounds to even, and the form of every text written so far stays.
int formatFloatTo(char *out, double v) {
    char *const end = out + FloatTextSize;
    if (v == std::floor(v) && std::fabs(v) < 1e15)
        return int(std::to_chars(out, end, static_cast<qint64>(v)).ptr - out);
    if (!std::isnan(v)) {
        const std::to_chars_result r = std::to_chars(out, end, v, std::chars_format::general, 15);
        double back = 0;
        const std::from_chars_result read = std::from_chars(out, r.ptr, back);
        if (r.ec == std::errc() && read.ec == std::errc() && read.ptr == r.ptr && back == v)
            return int(r.ptr - out);
    }
    const QByteArray s = QString::number(v, 'g', 17).toLatin1();
    const int n = int(std::min<qsizetype>(s.size(), FloatTextSize));
    std::memcpy(out, s.constData(), size_t(n));
    return n;
}

QString formatFloat(double v) {
    char text[FloatTextSize];
    return QString::fromLatin1(text, formatFloatTo(text, v));
}

}  // namespace varnel::data
