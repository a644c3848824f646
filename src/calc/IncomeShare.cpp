#include "calc/IncomeShare.h"

namespace varnel::calc {

RulePeriod rulePeriodOf(std::optional<int> year) {
    if (!year || *year < 2003)
        return RulePeriod::Before2003;
    if (*year <= 2004)
        return RulePeriod::Years2003To2004;
    return RulePeriod::From2005;
}

int ordinaryIncomeShare(int n) {
    if (n == 1)
        return 15;
    if (n >= 2 && n <= 4)
        return 12;
    return 10;
}

int OkreslProcDochodu(int n, double income, double lowestPension, std::optional<int> year) {
    const RulePeriod period = rulePeriodOf(year);
    if (n < 1 || period == RulePeriod::Before2003)
        return ordinaryIncomeShare(n);

    const double i = income / n;
    const double e = lowestPension;
    const bool from2005 = period == RulePeriod::From2005;
    bool higher;
    if (n == 1) {
        const double u1 = from2005 ? 1.75 : 1.6;
        higher = 1.5 * e <= i && i <= u1 * e;
    } else {
        const double u2 = from2005 ? 1.25 : 1.1;
        higher = e <= i && i <= u2 * e;
    }
    if (!higher)
        return ordinaryIncomeShare(n);
    if (n == 1)
        return 20;
    if (n <= 4)
        return 15;
    return 12;
}

}  // namespace varnel::calc
