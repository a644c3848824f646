#pragma once

#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>
#include <map>
#include <memory>
#include <optional>

namespace varnel::core {
class Progress;
}
namespace varnel::data {
class Database;
}

namespace varnel::admin {

// "Synchronizacja baz": tables brought into line with the structure of a
// pattern table. A table is named by its full path: the directory of its
// database and its name, "/srv/varnel/baza/ar041999". The tables may lie in
// this program's database or in the database of any other directory, and so
// may the pattern.

// The work table each rebuild is made in (in the database of the table).
inline const QString SyncWorkTable = QStringLiteral("tmp1");

struct TableLocation {
    QString directory;  // absolute, without a trailing separator
    QString table;      // without an extension

    // The full path as the window lists it.
    QString path() const;
    bool operator==(const TableLocation &) const = default;
};

// A full path typed or listed: the last part is the table (an extension
// ".DB" ignored), the rest its directory; a path without a directory, or
// with a relative one, counts from `databaseDirectory`. Empty for a path
// without a table name.
std::optional<TableLocation> parseTablePath(const QString &path, const QString &databaseDirectory);

// The databases of a run, by directory: the program's own connection for
// its own directory, and one connection, opened at first use and closed
// with this object, for every other directory.
class Databases {
public:
    explicit Databases(data::Database &own);
    ~Databases();
    Databases(const Databases &) = delete;
    Databases &operator=(const Databases &) = delete;

    data::Database &own() const { return m_own; }
    // Fails with the engine's message when the directory holds no database.
    data::Database &of(const QString &directory);
    // Whether a directory is the program's own database directory.
    bool isOwn(const QString &directory) const;

private:
    data::Database &m_own;
    std::map<QString, std::unique_ptr<data::Database>> m_others;
};

// The tables of the database in a directory, in Polish order without regard
// to case.
QStringList tablesIn(Databases &databases, const QString &directory);

// Rebuilds every table of `destinations`, in list order, to exactly the
// fields and indexes of the pattern (data::rebuildTable: values copied by
// field name, autoinc numbered anew from 1 in the table's order, fields the
// pattern lacks dropped), each in its own transaction. Before each table
// `beforeTable` is told its place in the list. The first failure stops the
// run: the tables before it stay rebuilt, the one that failed is whole as it
// was. Nothing is done (and the pattern not looked at) when the list is
// empty; a pattern not given is refused. Returns the number of tables
// rebuilt.
int synchronise(Databases &databases, const std::optional<TableLocation> &pattern,
                const QVector<TableLocation> &destinations, core::Progress *progress = nullptr,
                const std::function<void(int)> &beforeTable = {});

}  // namespace varnel::admin
