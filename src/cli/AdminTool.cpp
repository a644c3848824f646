#include "cli/AdminTool.h"

#include "data/Alias.h"
#include "data/Database.h"
#include "core/DbError.h"
#include "core/PrivateFile.h"

#include <QCoreApplication>
#include <QIODevice>
#include <QTextStream>
#include <QTranslator>
#include <cstring>

namespace varnel::cli {

namespace {

// QCommandLineParser reports a wrong command line in English through Qt's
// translation mechanism; this translator gives its messages in Polish.
class ParserMessages : public QTranslator {
public:
    QString translate(const char *context, const char *sourceText, const char *, int) const override {
        if (std::strcmp(context, "QCommandLineParser") != 0)
            return QString();
        static const std::pair<const char *, const char *> texts[] = {
            {"Unknown option '%1'.", "nieznana opcja „%1”."},
            {"Unknown options: %1.", "nieznane opcje: %1."},
            {"Missing value after '%1'.", "brak wartości po opcji „%1”."},
            {"Unexpected value after '%1'.", "opcja „%1” nie przyjmuje wartości."},
        };
        for (const auto &[english, polish] : texts)
            if (std::strcmp(sourceText, english) == 0)
                return QString::fromUtf8(polish);
        return QString();
    }
    bool isEmpty() const override { return false; }
};

void installParserMessages() {
    static bool installed = false;
    if (installed || !QCoreApplication::instance())
        return;
    static ParserMessages messages;
    installed = QCoreApplication::installTranslator(&messages);
}

QCommandLineOption databaseOption() {
    return QCommandLineOption(QStringLiteral("db"), QStringLiteral("katalog bazy danych zamiast katalogu aliasu Varnel"),
                              QStringLiteral("KATALOG"));
}

QCommandLineOption helpOption() {
    return QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("wyświetla tę pomoc"));
}

QString optionSyntax(const QCommandLineOption &o) {
    QStringList names;
    for (const QString &n : o.names())
        names << (n.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + n;
    QString s = names.join(QStringLiteral(", "));
    if (!o.valueName().isEmpty())
        s += QLatin1Char(' ') + o.valueName();
    return s;
}

QString commandHelp(const Command &c) {
    QString text = QStringLiteral("Użycie: varnel-admin %1\n\n%2\n\nOpcje:\n").arg(c.usage, c.description);
    QList<QCommandLineOption> options = c.options;
    options << databaseOption() << helpOption();
    qsizetype width = 0;
    for (const auto &o : options)
        width = std::max(width, optionSyntax(o).size());
    for (const auto &o : options) {
        QString line = QStringLiteral("  ") + optionSyntax(o).leftJustified(width + 2) + o.description();
        if (!o.defaultValues().isEmpty())
            line += QStringLiteral(" (domyślnie %1)").arg(o.defaultValues().join(QStringLiteral(", ")));
        text += line + QLatin1Char('\n');
    }
    return text;
}

QString generalHelp() {
    QString text = QStringLiteral(
        "varnel-admin: narzędzie administratora bazy danych programu Varnel\n"
        "(rejestr wniosków o dodatki mieszkaniowe).\n\n"
        "Użycie: varnel-admin POLECENIE [opcje] [argumenty]\n\n"
        "Polecenia:\n");
    qsizetype width = 0;
    for (const auto &c : adminCommands())
        width = std::max(width, c.usage.size());
    for (const auto &c : adminCommands())
        text += QStringLiteral("  ") + c.usage.leftJustified(width + 2) + c.summary + QLatin1Char('\n');
    text += QStringLiteral(
        "\nKażde polecenie przyjmuje --db KATALOG (katalog bazy danych zamiast katalogu\n"
        "aliasu Varnel) i --help (opis polecenia). Alias Varnel jest w pliku varnel.ini,\n"
        "sekcja [Aliases], klucz Varnel=<katalog>; plik jest szukany kolejno w $VARNEL_INI,\n"
        "$XDG_CONFIG_HOME/varnel/varnel.ini (domyślnie ~/.config/varnel/varnel.ini)\n"
        "i /etc/varnel/varnel.ini.\n");
    return text;
}

const Command *findCommand(const QString &name) {
    for (const auto &c : adminCommands())
        if (c.name == name)
            return &c;
    return nullptr;
}

QString commandNames() {
    QStringList names;
    for (const auto &c : adminCommands())
        names << c.name;
    return names.join(QStringLiteral(", "));
}

}  // namespace

QString CommandContext::databaseOption() const { return parser.value(QStringLiteral("db")); }

QString CommandContext::databaseDirectory() const {
    const QString dir = databaseOption();
    return dir.isEmpty() ? data::Alias::resolve() : dir;
}

std::unique_ptr<data::Database> CommandContext::openDatabase() const { return data::Database::open(databaseDirectory()); }

std::unique_ptr<data::Database> CommandContext::openDatabaseToRead() const {
    return data::Database::openReadOnly(databaseDirectory());
}

void writeOwnersFile(const QString &path, const QByteArray &bytes) {
    core::PrivateFile file(path);
    if (!file.open())
        throw CommandError(file.errorString());
    if (file.device()->write(bytes) != bytes.size())
        throw CommandError(QStringLiteral("Nie można zapisać pliku %1: %2").arg(path, file.device()->errorString()));
    if (!file.commit())
        throw CommandError(file.errorString());
}

QString polishCount(qint64 n, const QString &one, const QString &few, const QString &many) {
    const qint64 tens = n % 100;
    const qint64 units = n % 10;
    const QString &word = n == 1 ? one : (units >= 2 && units <= 4 && (tens < 12 || tens > 14) ? few : many);
    return QStringLiteral("%1 %2").arg(n).arg(word);
}

int runAdmin(const QStringList &arguments, QTextStream &out, QTextStream &err) {
    installParserMessages();
    const QString first = arguments.value(1);
    if (first.isEmpty()) {
        err << generalHelp();
        err.flush();
        return 2;
    }
    if (first == QLatin1String("help") || first == QLatin1String("--help") || first == QLatin1String("-h")) {
        const Command *c = findCommand(arguments.value(2));
        out << (c ? commandHelp(*c) : generalHelp());
        out.flush();
        return 0;
    }
    const Command *command = findCommand(first);
    if (!command && first.startsWith(QLatin1Char('-'))) {
        err << QStringLiteral("varnel-admin: najpierw podaj polecenie, potem jego opcje, "
                              "np. varnel-admin describe Aktualne --db KATALOG\n"
                              "Opis poleceń: varnel-admin --help\n");
        err.flush();
        return 2;
    }
    if (!command) {
        err << QStringLiteral("varnel-admin: nieznane polecenie „%1”. Polecenia: %2.\n"
                              "Opis poleceń: varnel-admin --help\n")
                   .arg(first, commandNames());
        err.flush();
        return 2;
    }

    const QString prefix = QStringLiteral("varnel-admin %1: ").arg(command->name);
    const QString hint = QStringLiteral("Opis polecenia: varnel-admin %1 --help\n").arg(command->name);
    QCommandLineParser parser;
    parser.addOptions(command->options);
    parser.addOption(databaseOption());
    parser.addOption(helpOption());
    if (!parser.parse(QStringList{arguments.first()} + arguments.mid(2))) {
        err << prefix << parser.errorText() << '\n' << hint;
        err.flush();
        return 2;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        out << commandHelp(*command);
        out.flush();
        return 0;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() < command->minArguments || positional.size() > command->maxArguments) {
        err << prefix
            << (positional.size() < command->minArguments ? QStringLiteral("za mało argumentów.")
                                                          : QStringLiteral("za dużo argumentów: %1.")
                                                                .arg(positional.mid(command->maxArguments)
                                                                         .join(QLatin1Char(' '))))
            << QStringLiteral(" Użycie: varnel-admin %1\n").arg(command->usage) << hint;
        err.flush();
        return 2;
    }

    CommandContext context{parser, positional, out, err};
    int code = 1;
    try {
        command->run(context);
        code = context.failed ? 1 : 0;
    } catch (const UsageError &e) {
        err << prefix << e.message() << QStringLiteral(" Użycie: varnel-admin %1\n").arg(command->usage) << hint;
        code = 2;
    } catch (const CommandError &e) {
        err << prefix << e.message() << '\n';
    } catch (const core::DbError &e) {
        err << prefix << e.message() << '\n';
    } catch (const std::exception &e) {
        err << prefix << QString::fromUtf8(e.what()) << '\n';
    }
    out.flush();
    err.flush();
    return code;
}

}  // namespace varnel::cli
