#include "lists/ListCellValues.h"

#include "templates/FieldCatalogue.h"

namespace varnel::lists {

CellValue listCellValue(data::Table &applications, const QString &item) {
    const templates::FieldValue v = templates::FieldCatalogue(applications).ObsluzBaze(item);
    return CellValue{v.text, v.number};
}

}  // namespace varnel::lists
