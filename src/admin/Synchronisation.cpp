#include "admin/Synchronisation.h"

#include "core/DbError.h"
#include "data/Collation.h"
#include "data/Database.h"
#include "data/Rebuild.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace varnel::admin {

namespace {

// One spelling per directory, so that a directory reached by two paths (a
// link, "a/../b") is one database.
QString directoryKey(const QString &directory) {
    const QFileInfo info(directory);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

}  // namespace

QString TableLocation::path() const { return QDir::toNativeSeparators(QDir(directory).filePath(table)); }

std::optional<TableLocation> parseTablePath(const QString &path, const QString &databaseDirectory) {
    const QString clean = QDir::fromNativeSeparators(path.trimmed());
    const int slash = clean.lastIndexOf(QLatin1Char('/'));
    const QString name = data::Database::tableNameOf(clean.mid(slash + 1).trimmed());
    if (name.isEmpty())
        return std::nullopt;
    QString directory = slash < 0 ? databaseDirectory : clean.left(slash);
    if (slash == 0)
        directory = QStringLiteral("/");
    directory = QDir::cleanPath(QDir(databaseDirectory).absoluteFilePath(directory));
    return TableLocation{directory, name};
}

Databases::Databases(data::Database &own) : m_own(own) {}
Databases::~Databases() = default;

bool Databases::isOwn(const QString &directory) const {
    return directoryKey(directory) == directoryKey(m_own.directory());
}

data::Database &Databases::of(const QString &directory) {
    if (isOwn(directory))
        return m_own;
    const QString key = directoryKey(directory);
    auto &slot = m_others[key];
    if (!slot) {
        try {
            slot = data::Database::open(directory);
        } catch (...) {
            m_others.erase(key);
            throw;
        }
    }
    return *slot;
}

QStringList tablesIn(Databases &databases, const QString &directory) {
    QStringList names = databases.of(directory).tableNames();
    std::sort(names.begin(), names.end(),
              [](const QString &a, const QString &b) { return data::comparePolish(a, b) < 0; });
    return names;
}

int synchronise(Databases &databases, const std::optional<TableLocation> &pattern,
                const QVector<TableLocation> &destinations, core::Progress *progress,
                const std::function<void(int)> &beforeTable) {
    if (destinations.isEmpty())
        return 0;
    if (!pattern)
        throw core::DbError(QStringLiteral("Nie wybrano wzorca struktury bazy."));
    data::Database &patternDb = databases.of(pattern->directory);
    if (!patternDb.tableExists(pattern->table))
        throw core::DbError(QStringLiteral("Nie ma tabeli wzorca struktury bazy: %1").arg(pattern->path()));
    const data::TableDef layout = patternDb.tableDef(pattern->table);
    int rebuilt = 0;
    for (int i = 0; i < destinations.size(); ++i) {
        if (beforeTable)
            beforeTable(i);
        const TableLocation &d = destinations[i];
        data::Database &db = databases.of(d.directory);
        if (!db.tableExists(d.table))
            throw core::DbError(QStringLiteral("Nie ma tabeli %1").arg(d.path()));
        const data::RebuildResult r = data::rebuildTable(db, d.table, layout, SyncWorkTable, progress);
        if (r.stopped)
            break;
        ++rebuilt;
    }
    return rebuilt;
}

}  // namespace varnel::admin
