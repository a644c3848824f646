#pragma once

#include "totals/Totals.h"

namespace varnel::print {
class PageDevice;
}

namespace varnel::totals {

// The statement of expenditure on one page: the caption, the options used
// and every figure, as one job titled with the caption. The window prints,
// previews and saves it as PDF through this, and so does the command line.
void printStatement(print::PageDevice &device, const QString &caption, const TotalsOptions &options,
                    const Statement &statement);

}  // namespace varnel::totals
