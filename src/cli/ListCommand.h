#pragma once

#include "cli/AdminTool.h"

namespace varnel::cli {

// varnel-admin list: a payment list printed headless into a PDF file or as
// text, with the list settings stored in skladlist.
Command listCommand();

}  // namespace varnel::cli
