#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

class QTextStream;

namespace varnel::data {
class Database;
}

namespace varnel::cli {

// A failure of a command, told to the user as it stands (in Polish).
class CommandError : public std::runtime_error {
public:
    explicit CommandError(const QString &message) : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString &message() const { return m_message; }

private:
    QString m_message;
};

// A command line that does not make sense as a whole (options that exclude
// each other, or neither of two where one is needed): exit code 2, like a
// command line the parser refuses.
class UsageError : public CommandError {
public:
    using CommandError::CommandError;
};

// What a command gets when it runs: its parsed options, its positional
// arguments and the two output streams.
struct CommandContext {
    const QCommandLineParser &parser;
    QStringList arguments;
    QTextStream &out;
    QTextStream &err;
    // Set by a command that has told its outcome itself and still ends with
    // exit code 1 (check, on a finding).
    bool failed = false;

    // The directory given with --db, or empty.
    QString databaseOption() const;
    // The database directory of --db, or else of the alias Varnel.
    QString databaseDirectory() const;
    // The database of that directory; commands that only read open it
    // read-only, so that they change nothing of the file.
    std::unique_ptr<varnel::data::Database> openDatabase() const;
    std::unique_ptr<varnel::data::Database> openDatabaseToRead() const;
};

// One command of varnel-admin. Every command also takes --db and --help.
struct Command {
    QString name;
    QString usage;        // after "varnel-admin ", e.g. "export TABELA [--out PLIK] [--db KATALOG]"
    QString summary;      // one line of the command list
    QString description;  // what --help tells beside the options
    QList<QCommandLineOption> options;
    int minArguments = 0;
    int maxArguments = 0;
    std::function<void(CommandContext &)> run;
    // The command lays out documents (fonts, PDF): the program runs it under
    // a QGuiApplication, on the offscreen platform when there is no display.
    bool needsGui = false;
};

// Runs varnel-admin: `arguments` as a program gets them (the program name
// first). Writes results to `out`, messages to `err`; returns the exit code:
// 0 done, 1 the command failed, 2 the command line was wrong.
int runAdmin(const QStringList &arguments, QTextStream &out, QTextStream &err);

// The commands in the order the help lists them (AdminCommands.cpp).
const std::vector<Command> &adminCommands();
// Whether the command of that name needs a QGuiApplication.
bool commandNeedsGui(const QString &name);

// Refuses a file a command is to write that is one of the database's own
// (Database::isOwnPath): a table or a list written onto the database file
// would destroy every table.
void refuseOwnPath(const QString &directory, const QString &path);

// The stored name of a table named on the command line; a missing one is
// told with the list of the tables there are.
QString requireTable(const varnel::data::Database &db, const QString &name);

// Writes a file readable and writable by its owner only (a print holds
// personal data); the file is replaced only once the whole of it is
// written. Throws CommandError naming the file.
void writeOwnersFile(const QString &path, const QByteArray &bytes);

// "1 wiersz", "3 wiersze", "12 wierszy": the Polish plural by number.
QString polishCount(qint64 n, const QString &one, const QString &few, const QString &many);

}  // namespace varnel::cli
