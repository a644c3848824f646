#pragma once

#include <QString>
#include <cmath>

namespace varnel::test {

// The text floating point values have always been written with, made by Qt
// alone: a whole number below 10^15 as one, otherwise 15 significant digits
// when they read back the same value, else 17.
inline QString referenceFloatText(double v) {
    if (v == std::floor(v) && std::fabs(v) < 1e15)
        return QString::number(static_cast<qint64>(v));
    QString s = QString::number(v, 'g', 15);
    if (s.toDouble() != v)
        s = QString::number(v, 'g', 17);
    return s;
}

}  // namespace varnel::test
