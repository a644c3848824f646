#include "support/Program.h"

#include "data/Layouts.h"
#include "data/Table.h"

namespace varnel::test {

void createDeliveredTables(data::Database &db) {
    for (const auto &def : data::deliveredTables())
        db.createTable(def);
}

void setParameters(data::Database &db, const QList<std::pair<QString, QVariant>> &fields) {
    data::Table param(db, QStringLiteral("param"));
    param.open();
    param.first();
    if (param.isEmpty())
        param.insert();
    else
        param.edit();
    for (const auto &[name, value] : fields)
        param.field(name).setVariant(value);
    param.post();
}

QString payFirstApplications(data::Database &db, int paid) {
    data::Table t(db, QStringLiteral("Aktualne"));
    t.open();
    t.setIndexName(QStringLiteral("NazwNdx"));
    QString first;
    int i = 0;
    for (t.first(); !t.eof(); t.next(), ++i) {
        if (i == 0)
            first = t.field(QStringLiteral("Nazwisko")).asString();
        t.edit();
        t.field(QStringLiteral("Wyplata_calosc")).setCurrency(i < paid ? 100 + i : 0);
        t.field(QStringLiteral("Wyplata_zarzadca")).setCurrency(i < paid ? 100 + i : 0);
        t.field(QStringLiteral("Wyplata_ryczalt")).setCurrency(0);
        t.post();
    }
    return first;
}

void fillDictionary(data::Database &db, const QString &table, const QList<std::pair<QString, bool>> &rows) {
    data::Table t(db, table);
    t.open();
    for (const auto &[text, used] : rows) {
        t.insert();
        t.field(QStringLiteral("Opis")).setString(text);
        t.field(QStringLiteral("BylModi")).setBoolean(used);
        t.post();
    }
}

void fillDictionary(data::Database &db, const QString &table, const QStringList &texts) {
    QList<std::pair<QString, bool>> rows;
    for (const QString &text : texts)
        rows.append({text, false});
    fillDictionary(db, table, rows);
}

void addManager(data::Database &db, const QString &opis, bool wlasnGminy) {
    data::Table t(db, QStringLiteral("zarzadcy"));
    t.open();
    t.insert();
    t.field(QStringLiteral("Opis")).setString(opis);
    t.field(QStringLiteral("Wlasn_gminy")).setBoolean(wlasnGminy);
    t.post();
}

}  // namespace varnel::test
