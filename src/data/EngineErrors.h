#pragma once

#include <QString>

struct sqlite3;

namespace varnel::data {

// The one place where failures of SQLite become messages for the clerk and
// the administrator. The common failures (the database held by another
// program, a file that is no database or is damaged, disk errors, a full
// disk, no permission to write) get a Polish explanation of the cause and
// of what to do, followed by SQLite's own text; any other failure is told
// with SQLite's text alone.

// The message for a result code and SQLite's text about the file `file`.
QString engineFailureText(int resultCode, const QString &engineText, const QString &file);

// Throws core::DbError with the message of the last failure on a
// connection; `context` (when given) goes before it.
[[noreturn]] void throwEngineFailure(sqlite3 *db, const QString &context = QString());

}  // namespace varnel::data
