#pragma once

#include "lists/ListItems.h"

namespace varnel::lists {

// The text and number of each list item for the current application: the
// placeholder catalogue of the templates (templates::FieldCatalogue), the
// same names, texts and numbers as on decisions; any other name gives "?"
// and 0.
CellValue listCellValue(data::Table &applications, const QString &item);

}  // namespace varnel::lists
