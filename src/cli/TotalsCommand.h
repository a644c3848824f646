#pragma once

#include "cli/AdminTool.h"

namespace varnel::cli {

// varnel-admin totals: the statement of expenditure of a table or of a range
// of archived months, one name=value line per figure.
Command totalsCommand();

}  // namespace varnel::cli
