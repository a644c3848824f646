#include "calc/Money.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace varnel::calc {

namespace {

// Nearest integer of y, an exact half to the even neighbour. y - floor(y) is
// exact for every double, so the comparison with 0.5 sees true halves only.
double roundHalfEven(double y) {
    const double f = std::floor(y);
    const double diff = y - f;
    if (diff > 0.5)
        return f + 1.0;
    if (diff < 0.5)
        return f;
    return std::fmod(f, 2.0) == 0.0 ? f : f + 1.0;
}

constexpr double TwoTo63 = 9223372036854775808.0;  // 2^63, exact as a double

}  // namespace

std::optional<qint64> centsOf(double x) {
    const double y = x * 100.0;
    if (!std::isfinite(y))
        return std::nullopt;
    const double r = roundHalfEven(y);
    if (r < -TwoTo63 || r >= TwoTo63)
        return std::nullopt;
    return static_cast<qint64>(r);
}

std::optional<qint32> cents32Of(double x) {
    const auto c = centsOf(x);
    if (!c || *c < std::numeric_limits<qint32>::min() || *c > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return static_cast<qint32>(*c);
}

double round2(double x) {
    const auto c = centsOf(x);
    if (!c)
        throw MoneyRangeError(QStringLiteral("Kwoty %1 nie można zaokrąglić do groszy: przekracza dopuszczalny zakres.")
                                  .arg(QString::number(x, 'g', 17)));
    return static_cast<double>(*c) / 100.0;
}

std::optional<double> round2Checked(double x) {
    const auto c = cents32Of(x);
    if (!c)
        return std::nullopt;
    return static_cast<double>(*c) / 100.0;
}

QString formatN(double value, int width, int decimals) {
    if (decimals < 0)
        decimals = 0;
    // std::to_chars converts the exact binary value and ignores the locale;
    // its ties (a decimal half of the exact value) go to the even digit.
    std::string buf(static_cast<size_t>(330 + decimals), '\0');
    const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::fixed, decimals);
    std::string text = (res.ec == std::errc()) ? std::string(buf.data(), res.ptr) : std::string("?");
    if (!text.empty() && text[0] == '-' && text.find_first_not_of("0.", 1) == std::string::npos)
        text.erase(0, 1);  // -0.00 -> 0.00
    QString out = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    if (out.size() < width)
        out = QString(width - out.size(), QLatin1Char(' ')) + out;
    return out;
}

}  // namespace varnel::calc
