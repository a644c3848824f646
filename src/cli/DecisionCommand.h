#pragma once

#include "cli/AdminTool.h"

namespace varnel::cli {

// varnel-admin decision: the decisions of one application or of a whole
// table, filled from a decision template without a window, into one PDF file
// or as plain text.
Command decisionCommand();

}  // namespace varnel::cli
