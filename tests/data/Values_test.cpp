#include "data/Values.h"
#include "support/ReferenceFloatText.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <random>

using namespace varnel::data;

namespace {

// Values whose text differs from the reference's, and the first of them.
struct FloatTextCheck {
    int differing = 0;
    QString first;

    void check(double v) {
        char bytes[FloatTextSize];
        const QString expected = varnel::test::referenceFloatText(v);
        const QByteArray written(bytes, formatFloatTo(bytes, v));
        const QString text = formatFloat(v);
        if (text == expected && written == expected.toLatin1())
            return;
        if (differing++ == 0)
            first = QStringLiteral("%1: %2 / %3 instead of %4")
                        .arg(QString::number(v, 'a'), text, QString::fromLatin1(written), expected);
    }
};

}  // namespace

TEST(FloatText, IsQtsShortestTextThatReadsBackForAmountsAndEveryKindOfDouble) {
    FloatTextCheck c;
    const double inf = std::numeric_limits<double>::infinity();
    for (const double v : {0.1, 1e-7, 0.0, -0.0, 48.37, -1234.5, 0.1 + 0.2, 77.04, 1780.96, 1e15, -1e15, 1e16, 1e-5, 1e-4,
                           123456789012345.6, 99999999999999.9, 999999999999999.9, 5e-324, 2.2250738585072014e-308,
                           1.7976931348623157e308, 1e300, -1e-300, inf, -inf, std::nan(""), -std::nan(""),
                           // Halfway between two texts of 17 digits: Qt rounds up.
                           58941677313525.8125, -58941677313525.8125, 6018900277707.65625})
        c.check(v);
    EXPECT_EQ(formatFloat(0.1), QStringLiteral("0.1"));
    EXPECT_EQ(formatFloat(1e-7), QStringLiteral("1e-07"));
    EXPECT_EQ(formatFloat(-0.0), QStringLiteral("0"));
    EXPECT_EQ(formatFloat(0.1 + 0.2), QStringLiteral("0.30000000000000004"));
    EXPECT_EQ(formatFloat(58941677313525.8125), QStringLiteral("58941677313525.813"));

    std::mt19937_64 random(20240601);
    for (int i = 0; i < 100000; ++i) {
        const quint64 bits = random();
        double any;
        std::memcpy(&any, &bits, sizeof any);
        c.check(any);
        c.check(double(qint64(random() % 10000000000)) / 100.0 * (random() % 2 ? -1 : 1));  // money
        c.check(double(qint64(random() % 1000000)) / 10000.0);                                // kWh, areas
        c.check(std::ldexp(double(random() >> 11), int(random() % 120) - 113));              // near whole numbers
    }
    EXPECT_EQ(c.differing, 0) << c.first.toStdString();
}
