#pragma once

#include "lists/ListItems.h"

namespace varnel::lists {

// The text and number of each list item for the current application, as
// the placeholder catalogue of the decisions gives them (the same names,
// texts and numbers), for the items a list column can show; any other name
// gives "?" and 0. A division by a zero number of persons or a zero area
// gives "?" and 0.
//
// The list takes its values only through a CellValueFunction; once the
// placeholder catalogue of the decisions serves the lists, it takes the
// place of this function.
CellValue listCellValue(data::Table &applications, const QString &item);

}  // namespace varnel::lists
