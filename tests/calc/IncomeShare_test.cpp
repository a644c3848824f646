#include "calc/IncomeShare.h"

#include <gtest/gtest.h>

using namespace varnel::calc;

struct ShareCase {
    int n;
    double income;
    double pension;
    std::optional<int> year;
    int share;
};

void PrintTo(const ShareCase &c, std::ostream *os) {
    *os << "n=" << c.n << " I=" << c.income << " E=" << c.pension << " Y=" << c.year.value_or(0) << " -> " << c.share;
}

class IncomeShare : public ::testing::TestWithParam<ShareCase> {};

TEST_P(IncomeShare, FollowsBandAndPeriod) {
    const auto &c = GetParam();
    EXPECT_EQ(OkreslProcDochodu(c.n, c.income, c.pension, c.year), c.share)
        << "n=" << c.n << " I=" << c.income << " E=" << c.pension << " Y=" << c.year.value_or(0);
}

INSTANTIATE_TEST_SUITE_P(
    OnePerson, IncomeShare,
    ::testing::Values(ShareCase{1, 900, 600, 2006, 20},      // exactly 1.5 E
                      ShareCase{1, 899.99, 600, 2006, 15},   // just below
                      ShareCase{1, 1050, 600, 2006, 20},     // exactly 1.75 E
                      ShareCase{1, 1050.01, 600, 2006, 15},  // above: back to the ordinary band
                      ShareCase{1, 900, 600, 2004, 20},      // 900 <= 1.6 E = 960
                      ShareCase{1, 960, 600, 2003, 20},
                      ShareCase{1, 961, 600, 2003, 15},
                      ShareCase{1, 900, 600, 2002, 15},      // no higher band before 2003
                      ShareCase{1, 900, 600, std::nullopt, 15}));

INSTANTIATE_TEST_SUITE_P(
    Household, IncomeShare,
    ::testing::Values(ShareCase{3, 2250, 600, 2005, 15},     // exactly 1.25 E per member
                      ShareCase{3, 2250.03, 600, 2005, 12},  // slightly above
                      ShareCase{3, 1800, 600, 2005, 15},     // exactly E
                      ShareCase{3, 1799.97, 600, 2005, 12},
                      ShareCase{2, 1320, 600, 2004, 15},     // 1.1 E
                      ShareCase{2, 1322, 600, 2004, 12},
                      ShareCase{4, 2400, 600, 2002, 12},
                      ShareCase{5, 3000, 600, 2010, 12},
                      ShareCase{5, 2000, 600, 2010, 10},
                      ShareCase{7, 4200, 600, 2010, 12}));

INSTANTIATE_TEST_SUITE_P(NoPersons, IncomeShare,
                         ::testing::Values(ShareCase{0, 900, 600, 2006, 10},   // nothing divided by 0
                                           ShareCase{-1, 900, 600, 2006, 10},
                                           ShareCase{0, 0, 0, 2006, 10}));
