#pragma once

#include <optional>

namespace varnel::calc {

// Rule periods of the current allowance rules, chosen by the year in which
// the granted period starts (Okres_od). An application without a start date
// is computed by the rules before 2003.
enum class RulePeriod { Before2003, Years2003To2004, From2005 };

RulePeriod rulePeriodOf(std::optional<int> yearOfOkresOd);

// Share of income, in whole percent, that the household bears in the
// ordinary band: 15 for one person, 12 for two to four, 10 otherwise (also
// for a number of persons below 1).
int ordinaryIncomeShare(int n);

// The income-percentage rule: the share of income, in whole percent, that a
// household of n persons with the total income `income` bears, given the
// lowest pension and the year of Okres_od (empty: no date).
//
// The higher band (20 / 15 / 12) applies only from 2003 and only when the
// income per member i = income / n lies, bounds included, between 1.5 and u1
// lowest pensions for one person, or between 1 and u2 lowest pensions for a
// larger household (u1 = 1.6, u2 = 1.1 in 2003-2004; u1 = 1.75, u2 = 1.25
// from 2005). For n < 1 the higher band never applies and nothing is divided.
int OkreslProcDochodu(int n, double income, double lowestPension, std::optional<int> yearOfOkresOd);

}  // namespace varnel::calc
