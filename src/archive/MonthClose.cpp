#include "archive/MonthClose.h"

#include "data/Database.h"
#include "data/Table.h"

#include <QRegularExpression>

namespace varnel::archive {

namespace {
constexpr int FirstYear = 1997;
const QString Applications = QStringLiteral("Aktualne");
}  // namespace

MonthProposal proposeMonth(const QDate &today) {
    MonthProposal p;
    const QDate before = QDate(today.year(), today.month(), 1).addMonths(-1);
    p.month = before.month();
    p.year = before.year();
    for (int y = FirstYear; y <= p.year + 1; ++y)
        p.years << QString::number(y);
    return p;
}

std::optional<QDate> chosenMonth(int monthIndex, const QString &yearText) {
    // Four digits: the year is part of the archive's name "arMMYYYY", which
    // must read back to the month.
    static const QRegularExpression fourDigits(QStringLiteral("^[0-9]{4}$"));
    if (monthIndex < 0 || monthIndex > 11 || !fourDigits.match(yearText).hasMatch())
        return std::nullopt;
    const QDate d(yearText.toInt(), monthIndex + 1, 1);
    return d.isValid() ? std::optional<QDate>(d) : std::nullopt;
}

ListChoice choiceForMonthText(const QString &dataStr, const QStringList &years) {
    const qsizetype blank = dataStr.indexOf(QLatin1Char(' '));
    const QString month = blank < 0 ? dataStr : dataStr.left(blank);
    const QString year = blank < 0 ? QString() : dataStr.mid(blank + 1);
    return ListChoice{int(monthNames().indexOf(month)), int(years.indexOf(year))};
}

QString alreadyArchivedQuestion(const QString &dataStr) {
    return QStringLiteral("Pozycja: ") + dataStr + QStringLiteral(" jest w archiwum!.Zapisać ponownie?");
}

MonthCloseResult closeMonth(data::Database &db, const QDate &month, core::Progress *progress) {
    const QDate key(month.year(), month.month(), 1);
    MonthCloseResult r;
    r.entry.key = key;
    r.entry.fileName = archiveTableName(key);
    r.entry.dataStr = monthText(key);

    // The list row and the table are written together: a failed or broken
    // copy leaves no row pointing at a missing or stale table, and an
    // earlier archive of the month is replaced only by a complete copy.
    data::Transaction tx(db);
    r.replaced = archiveEntry(db, key).has_value();
    {
        data::Table param(db, QStringLiteral("param"));
        param.open();
        param.first();
        if (!param.isEmpty()) {
            const data::Field pension = param.field(QStringLiteral("Min_emeryt"));
            const data::Field kwh = param.field(QStringLiteral("Koszt_kwh"));
            if (!pension.isNull())
                r.entry.najnEmer = pension.asFloat();
            if (!kwh.isNull())
                r.entry.kosztKwh = kwh.asFloat();
        }
    }
    writeArchiveEntry(db, r.entry);
    r.rows = db.copyTable(Applications, r.entry.fileName, progress);
    tx.commit();
    return r;
}

}  // namespace varnel::archive
