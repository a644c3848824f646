#include "support/OldLayouts.h"

#include "data/Table.h"

#include <QDir>
#include <QFile>
#include <stdexcept>

namespace varnel::test {

data::TableDef without(data::TableDef def, const QStringList &fields) {
    for (const QString &name : fields)
        def.fields.removeAt(def.fieldIndex(name));
    return def;
}

void addApplication(data::Database &db, const QString &table, const QString &surname,
                    const QList<QPair<QString, QVariant>> &fields) {
    data::Table t(db, table);
    t.open();
    t.insert();
    t.field(QStringLiteral("Nazwisko")).setString(surname);
    t.field(QStringLiteral("Imie")).setString(QStringLiteral("Jan"));
    for (const auto &[name, value] : fields)
        t.field(name).setVariant(value);
    t.post();
}

void moveToEarlierLayout(const QString &directory) {
    const QString path = data::Database::filePathIn(directory);
    const QString old = QDir(directory).filePath(QString::fromLatin1(data::Database::FileName));
    if (!QFile::rename(path, old) || !QDir(directory).rmdir(QString::fromLatin1(data::Database::FolderName)))
        throw std::runtime_error("cannot move the database to the earlier layout");
}

QVariantList column(data::Database &db, const QString &table, const QString &field) {
    data::Table t(db, table);
    t.open();
    QVariantList values;
    for (t.first(); !t.eof(); t.next())
        values << t.field(field).asVariant();
    return values;
}

}  // namespace varnel::test
