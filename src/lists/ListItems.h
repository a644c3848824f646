#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace varnel::data {
class Table;
}

namespace varnel::lists {

// The data items a list column can show, sorted as the editor lists them.
QStringList listItems();
// The seventeen items that may be totalled (exact, case-sensitive name).
bool isSummable(const QString &item);
// The running number of a row, filled in by the list itself.
inline const QString RunningNumberItem = QStringLiteral("Lp.");

// The text and number of one data item for the current row of an
// application table: what the placeholder catalogue gives (0 for an item
// without a number).
struct CellValue {
    QString text;
    double number = 0;
};
using CellValueFunction = std::function<CellValue(data::Table &applications, const QString &item)>;

}  // namespace varnel::lists
