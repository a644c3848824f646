#pragma once

#include "cli/AdminTool.h"

namespace varnel::cli {

// The month end from a script, with the rules of the archive windows:
//  - close-month RRRR-MM [--replace]: the month close;
//  - archives: the archive list, one line per month;
//  - expired [--dated-only] [--delete]: the applications the removal of
//    expired applications would list, deleted in one transaction with
//    --delete.
Command closeMonthCommand();
Command archivesCommand();
Command expiredCommand();

}  // namespace varnel::cli
