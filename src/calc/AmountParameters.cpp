#include "calc/AmountParameters.h"

#include "calc/ArchiveList.h"
#include "data/Table.h"
#include "data/Walk.h"

namespace varnel::calc {

namespace {
bool isCurrent(const QString &tableName) {
    return tableName.compare(QLatin1String("Aktualne"), Qt::CaseInsensitive) == 0;
}
}  // namespace

QString amountCaption(Amount amount) {
    return amount == Amount::MinEmeryt ? QStringLiteral("Najniższa emerytura") : QStringLiteral("Kilowatogodzina");
}

std::unique_ptr<data::Table> openParameterRow(data::Database &db) {
    auto param = std::make_unique<data::Table>(db, QStringLiteral("param"));
    param->open();
    param->first();
    if (param->isEmpty())
        param->insert();
    else
        param->edit();
    return param;
}

AmountRow openAmountRow(data::Database &db, Amount amount, const QString &currentTableName) {
    AmountRow row;
    row.caption = amountCaption(amount);
    if (isCurrent(currentTableName)) {
        row.field = amount == Amount::MinEmeryt ? QStringLiteral("Min_emeryt") : QStringLiteral("Koszt_kwh");
        row.table = openParameterRow(db);
        return row;
    }
    row.field = amount == Amount::MinEmeryt ? QStringLiteral("NajnEmer") : QStringLiteral("KosztKwh");
    row.table = openArchiveList(db);
    const std::optional<QDate> month = archiveMonthOf(currentTableName);
    row.found = month && row.table->findKey({*month});
    if (row.found) {
        row.table->edit();
        row.caption += QStringLiteral(" - ") + row.table->field(QStringLiteral("Data_str")).asString();
    } else {
        row.caption += QStringLiteral(" - ");
    }
    return row;
}

int rewriteWskProc(data::Table &applications, int value, core::Progress *progress) {
    const int field = applications.fieldIndex(QStringLiteral("WskProc"));
    if (field < 0)
        throw core::MissingFieldError(applications.tableName(), QStringLiteral("WskProc"));
    data::WalkOptions options;
    options.progress = progress;
    const data::WalkResult r = data::walk(
        applications,
        [field, value](data::Table &t) {
            t.edit();
            t.field(field).setInteger(value);
            t.post();
            return true;
        },
        options);
    return r.done;
}

}  // namespace varnel::calc
