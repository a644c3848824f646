#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>
#include <stdexcept>

namespace varnel::calc {

// Amounts are worked in binary floating point and rounded to whole grosze
// when they are stored or shown.

// The number of grosze of an amount: x * 100 rounded to the nearest integer,
// an exact half going to the even integer. Empty when the result does not fit
// a signed 64-bit integer (also for NaN and the infinities).
std::optional<qint64> centsOf(double x);

// centsOf() limited to a signed 32-bit number of grosze, the range of a paid
// allowance.
std::optional<qint32> cents32Of(double x);

// An amount that cannot be rounded to whole grosze.
class MoneyRangeError : public std::range_error {
public:
    explicit MoneyRangeError(const QString &message)
        : std::range_error(message.toStdString()), m_message(message) {}
    const QString &message() const { return m_message; }

private:
    QString m_message;
};

// round2: x * 100 rounded to the nearest 64-bit integer (exact halves to
// even), divided by 100. Throws MoneyRangeError when the grosze do not fit a
// 64-bit integer.
double round2(double x);

// round2 for an amount that must fit a signed 32-bit number of grosze; empty
// when it does not (or cannot be rounded at all).
std::optional<double> round2Checked(double x);

// The number format N(w,d) of printed and displayed values: the double's
// exact binary value rounded to d decimals (an exact half to the even last
// digit, so 0.125 gives "0.12"), fixed point with exactly d decimals, a point
// as separator whatever the locale, no thousands separator, a minus sign for
// negative values, padded on the left with spaces to at least w characters.
// A value that rounds to zero is shown without a minus sign.
QString formatN(double value, int width, int decimals);

}  // namespace varnel::calc
