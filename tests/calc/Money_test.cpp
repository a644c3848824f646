#include "calc/Money.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace varnel::calc;

struct Round2Case {
    double in;
    double out;
};

void PrintTo(const Round2Case &c, std::ostream *os) { *os << c.in << " -> " << c.out; }

class Round2 : public ::testing::TestWithParam<Round2Case> {};

TEST_P(Round2, HalvesOfTheProductGoToTheEvenGrosz) {
    EXPECT_EQ(round2(GetParam().in), GetParam().out) << GetParam().in;
}

INSTANTIATE_TEST_SUITE_P(Money, Round2,
                         ::testing::Values(Round2Case{0.125, 0.12},   // 12.5 grosza -> 12
                                           Round2Case{0.375, 0.38},   // 37.5 -> 38
                                           Round2Case{0.625, 0.62},
                                           Round2Case{-0.125, -0.12},
                                           Round2Case{1.005, 1.0},    // 100.49999999999999 grosza
                                           Round2Case{43.986301369863014, 43.99},
                                           Round2Case{125.00999999999999, 125.01},
                                           Round2Case{0.0, 0.0}));

TEST(Money, CentsBeyondSixtyFourBitsCannotBeRounded) {
    EXPECT_EQ(centsOf(9.2e16), std::optional<qint64>(9200000000000000000LL));
    EXPECT_FALSE(centsOf(9.3e16));
    EXPECT_FALSE(centsOf(-9.3e16));
    EXPECT_FALSE(centsOf(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE(centsOf(std::numeric_limits<double>::infinity()));
    EXPECT_THROW(round2(1e300), MoneyRangeError);
}

TEST(Money, CheckedRoundingKeepsToThirtyTwoBitsOfGrosze) {
    EXPECT_EQ(round2Checked(21474836.47), std::optional<double>(21474836.47));
    EXPECT_FALSE(round2Checked(21474836.48));
    EXPECT_EQ(round2Checked(-21474836.48), std::optional<double>(-21474836.48));
    EXPECT_FALSE(round2Checked(-21474836.49));
    EXPECT_EQ(round2Checked(0.125), std::optional<double>(0.12));
}

struct FormatCase {
    double value;
    int width;
    int decimals;
    const char *text;
};

void PrintTo(const FormatCase &c, std::ostream *os) {
    *os << "N(" << c.width << "," << c.decimals << ") of " << c.value << " = '" << c.text << "'";
}

class FormatN : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatN, FormatsAsPrintedAndShown) {
    const auto &c = GetParam();
    EXPECT_EQ(formatN(c.value, c.width, c.decimals), QString::fromLatin1(c.text));
}

INSTANTIATE_TEST_SUITE_P(Money, FormatN,
                         ::testing::Values(FormatCase{12.5, 6, 2, " 12.50"},
                                           FormatCase{1234.567, 6, 2, "1234.57"},
                                           FormatCase{4, 3, 0, "  4"},
                                           FormatCase{0.125, 0, 2, "0.12"},   // exact half to even
                                           FormatCase{0.375, 0, 2, "0.38"},
                                           FormatCase{2.5, 0, 0, "2"},
                                           FormatCase{3.5, 0, 0, "4"},
                                           FormatCase{2.675, 0, 2, "2.67"},   // binary value below the half
                                           FormatCase{-12.5, 8, 2, "  -12.50"},
                                           FormatCase{-0.001, 5, 2, " 0.00"},  // no minus for a zero
                                           FormatCase{1234567.891, 0, 2, "1234567.89"},
                                           FormatCase{0.7, 4, 2, "0.70"},
                                           FormatCase{383.25, 7, 2, " 383.25"},
                                           FormatCase{0.25, 7, 4, " 0.2500"}));
