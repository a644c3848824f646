#pragma once

#include "data/FieldDef.h"

#include <QDate>
#include <QString>
#include <QVector>
#include <functional>

namespace varnel::core {
class Progress;
}
namespace varnel::data {
class Table;
}

namespace varnel::archive {

// The removal of expired applications: the applications whose period does
// not cover today are listed in the work table Temp, the clerk withdraws
// some from the list, and the rest are deleted from the register at once.

inline const QString ExpiredListTable = QStringLiteral("Temp");
inline const QString ExpiredListOrder = QStringLiteral("NazwNdx");
inline const QString MissingKeyText = QStringLiteral("Błąd klucza NrEw");
inline const QString WithdrawQuestion = QStringLiteral("Wycofać pozycję z listy?");
inline const QString DeleteAllQuestion = QStringLiteral("Usunąć wszystkie znalezione wnioski?");

// Which applications are listed ("Zaznaczyć do usunięcia wnioski:").
enum class ExpiryFilter {
    NotCurrentOrUndated = 0,  // "Nieaktualne oraz bez podanego okresu"
    NotCurrentOnly = 1,       // "Tylko nieaktualne": at least one period date given
};

// The current-period test: a blank date counts as 0. With neither date the
// application is not current; otherwise it is current when (no end, or
// today ≤ end) and (no start, or start ≤ today). A period ending today is
// current, one starting tomorrow is not.
bool isCurrentPeriod(const QDate &od, const QDate &doDnia, const QDate &today);
// Whether the filter lists an application with this period.
bool isListed(ExpiryFilter filter, const QDate &od, const QDate &doDnia, const QDate &today);

// The layout of Temp: the stored fields and every index of the application
// table, with NrEw a plain integer that keeps the application's own number.
data::TableDef expiredListDef(const data::TableDef &applications);

// Goes over the applications of an open application table in its current
// order (one walk, one transaction) and calls `listed` with the table
// standing on every application the filter lists. The progress steps once
// per application.
void forEachExpired(data::Table &applications, ExpiryFilter filter, const QDate &today, core::Progress *progress,
                    const std::function<void(data::Table &applications)> &listed);

// Creates Temp afresh (replacing the list built before) and copies into it,
// every field by name, each application the filter lists. Returns how many.
// One transaction: after a failure no half list is left.
int buildExpiredList(data::Table &applications, ExpiryFilter filter, const QDate &today, core::Progress *progress);

// Deletes from an open application table, in one walk and one transaction,
// every application the filter lists (as the window would list and delete
// them with no row withdrawn), calling `deleted` with the table standing on
// each just before it goes. All go, or after a failure none. Returns how
// many.
int deleteExpired(data::Table &applications, ExpiryFilter filter, const QDate &today, core::Progress *progress,
                  const std::function<void(data::Table &applications)> &deleted = {});

struct DeletionResult {
    int listed = 0;           // rows of the list
    int deleted = 0;          // applications deleted
    QVector<qint64> missing;  // NrEw of list rows whose application was gone
};

// Deletes from the application table every application listed in the open
// cursor `list` (on Temp), in list order: each NrEw is looked up on the
// primary index (the application table stays on it) and its application
// deleted; for a number no longer in the register `missing` is called and
// the deletion goes on. One transaction: all listed applications go, or,
// after an engine failure, none. The progress steps once per list row.
DeletionResult deleteListed(data::Table &list, data::Table &applications, core::Progress *progress,
                            const std::function<void(qint64 nrEw)> &missing = {});

}  // namespace varnel::archive
