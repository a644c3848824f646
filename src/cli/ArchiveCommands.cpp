#include "cli/ArchiveCommands.h"

#include "archive/ArchiveList.h"
#include "archive/ExpiredList.h"
#include "archive/MonthClose.h"
#include "core/DbError.h"
#include "data/Database.h"
#include "data/Table.h"
#include "data/Values.h"

#include <QDate>
#include <QRegularExpression>
#include <QTextStream>

namespace varnel::cli {

using data::Database;

namespace {

const QString Applications = QStringLiteral("Aktualne");

// "1999-04" → 1 April 1999; anything else is refused before the database
// is opened.
QDate monthArgument(const QString &text) {
    static const QRegularExpression form(QStringLiteral("^([0-9]{4})-([0-9]{2})$"));
    const QRegularExpressionMatch m = form.match(text);
    const int month = m.hasMatch() ? m.captured(2).toInt() : 0;
    const QDate d = m.hasMatch() && month >= 1 && month <= 12 ? QDate(m.captured(1).toInt(), month, 1) : QDate();
    if (!d.isValid())
        throw CommandError(QStringLiteral("nieprawidłowy miesiąc „%1”: podaj rok i miesiąc w postaci RRRR-MM, "
                                          "np. 1999-04.")
                               .arg(text));
    return d;
}

// An amount as the list keeps it: blank when the close had no parameter row.
QString amountText(const std::optional<double> &v) { return v ? QString::number(*v, 'f', 2) : QString(); }

void requireArchiveTables(const Database &db) {
    requireTable(db, archive::ArchiveListTable);
    requireTable(db, Applications);
}

// ---------------------------------------------------------------------------
// close-month

void runCloseMonth(CommandContext &c) {
    const QDate month = monthArgument(c.arguments.first());
    const bool replace = c.parser.isSet(QStringLiteral("replace"));
    std::unique_ptr<Database> db = c.openDatabase();
    requireArchiveTables(*db);
    requireTable(*db, QStringLiteral("param"));

    // The look-up and the close in one transaction: nobody archives the
    // month in between.
    data::Transaction tx(*db);
    if (const std::optional<archive::ArchiveEntry> earlier = archive::archiveEntry(*db, month); earlier && !replace)
        throw CommandError(QStringLiteral("miesiąc %1 jest już w archiwum (tabela %2); niczego nie zapisano. "
                                          "Aby zapisać go ponownie, dodaj --replace.")
                               .arg(earlier->dataStr, earlier->fileName));
    const archive::MonthCloseResult r = archive::closeMonth(*db, month);
    tx.commit();
    c.out << QStringLiteral("%1 miesiąc %2: tabela %3, %4; najniższa emerytura: %5, koszt kWh: %6.\n")
                 .arg(r.replaced ? QStringLiteral("Zapisano ponownie") : QStringLiteral("Przepisano do archiwum"),
                      r.entry.dataStr, r.entry.fileName,
                      polishCount(r.rows, QStringLiteral("wniosek"), QStringLiteral("wnioski"), QStringLiteral("wniosków")),
                      r.entry.najnEmer ? amountText(r.entry.najnEmer) : QStringLiteral("brak"),
                      r.entry.kosztKwh ? amountText(r.entry.kosztKwh) : QStringLiteral("brak"));
}

// ---------------------------------------------------------------------------
// archives

void runArchives(CommandContext &c) {
    std::unique_ptr<Database> db = c.openDatabaseToRead();
    requireTable(*db, archive::ArchiveListTable);
    data::ReadTransaction read(*db);
    for (const archive::ArchiveEntry &e : archive::archiveEntries(*db))
        c.out << e.key.toString(Qt::ISODate) << '\t' << e.fileName << '\t' << e.dataStr << '\t'
              << amountText(e.najnEmer) << '\t' << amountText(e.kosztKwh) << '\n';
}

// ---------------------------------------------------------------------------
// expired

QString dateText(const QDate &d) { return data::isBlankDate(d) ? QString() : d.toString(Qt::ISODate); }

void runExpired(CommandContext &c) {
    const bool remove = c.parser.isSet(QStringLiteral("delete"));
    const archive::ExpiryFilter filter = c.parser.isSet(QStringLiteral("dated-only"))
                                             ? archive::ExpiryFilter::NotCurrentOnly
                                             : archive::ExpiryFilter::NotCurrentOrUndated;
    std::unique_ptr<Database> db = remove ? c.openDatabase() : c.openDatabaseToRead();
    requireTable(*db, Applications);
    std::unique_ptr<data::ReadTransaction> read;
    if (!remove)
        read = std::make_unique<data::ReadTransaction>(*db);
    data::Table applications(*db, Applications);
    applications.open();
    applications.setIndexName(archive::ExpiredListOrder);

    // Told after the work: a deletion that fails lists nobody.
    QStringList lines;
    auto line = [&lines](data::Table &t) {
        lines << QStringList{t.field(QStringLiteral("NrEw")).asString(), t.field(QStringLiteral("Numer_decyzji")).asString(),
                             t.field(QStringLiteral("Nazwisko")).asString() + QLatin1Char(' ')
                                 + t.field(QStringLiteral("Imie")).asString(),
                             dateText(t.field(QStringLiteral("Okres_od")).asDate()),
                             dateText(t.field(QStringLiteral("Okres_do")).asDate())}
                     .join(QLatin1Char('\t'));
    };
    const QDate today = QDate::currentDate();
    if (remove) {
        try {
            archive::deleteExpired(applications, filter, today, nullptr, line);
        } catch (const core::DbError &e) {
            throw CommandError(e.message() + QStringLiteral("\nUsuwanie przerwano; żaden wniosek nie został usunięty."));
        }
    } else {
        archive::forEachExpired(applications, filter, today, nullptr, line);
    }
    for (const QString &l : lines)
        c.out << l << '\n';
    if (remove)
        c.out << QStringLiteral("Usunięto %1.\n")
                     .arg(polishCount(lines.size(), QStringLiteral("wniosek"), QStringLiteral("wnioski"),
                                      QStringLiteral("wniosków")));
}

}  // namespace

Command closeMonthCommand() {
    return Command{
        QStringLiteral("close-month"),
        QStringLiteral("close-month RRRR-MM [--replace] [--db KATALOG]"),
        QStringLiteral("przepisuje bieżące wnioski do archiwum miesiąca"),
        QStringLiteral(
            "Kopiuje całą tabelę Aktualne (pola i wszystkie indeksy) do tabeli archiwum miesiąca arMMRRRR\n"
            "i wpisuje miesiąc do listy archiwów ArcLista z najniższą emeryturą i kosztem kWh z tabeli param\n"
            "(puste, gdy param nie ma wiersza), jak Wnioski › Przepisz do archiwum. Wpis i tabela powstają\n"
            "razem w jednej transakcji albo wcale. Miesiąc, który już jest w archiwum, zostaje odrzucony;\n"
            "z --replace jest zapisany ponownie, a poprzednie archiwum ustępuje dopiero kompletnej kopii.\n"
            "Bieżące wnioski się nie zmieniają."),
        {QCommandLineOption(QStringLiteral("replace"), QStringLiteral("zapisuje ponownie miesiąc, który już jest w archiwum"))},
        1,
        1,
        runCloseMonth,
    };
}

Command archivesCommand() {
    return Command{
        QStringLiteral("archives"),
        QStringLiteral("archives [--db KATALOG]"),
        QStringLiteral("wypisuje listę archiwów miesięcy"),
        QStringLiteral(
            "Wypisuje wiersze listy archiwów ArcLista w kolejności miesięcy, jeden w wierszu, rozdzielone\n"
            "tabulatorem: klucz (pierwszy dzień miesiąca, RRRR-MM-DD), nazwa tabeli archiwum, miesiąc\n"
            "słownie, najniższa emerytura i koszt kWh z chwili zamknięcia miesiąca (puste, gdy nie było ich\n"
            "w parametrach). Bazę otwiera tylko do odczytu."),
        {},
        0,
        0,
        runArchives,
    };
}

Command expiredCommand() {
    return Command{
        QStringLiteral("expired"),
        QStringLiteral("expired [--dated-only] [--delete] [--db KATALOG]"),
        QStringLiteral("wypisuje (i usuwa) wnioski, których okres nie obejmuje dnia dzisiejszego"),
        QStringLiteral(
            "Wypisuje bieżące wnioski, które okno Wnioski › Usuń nieaktualne zaznaczyłoby do usunięcia,\n"
            "w kolejności nazwisk, jeden w wierszu, rozdzielone tabulatorem: NrEw, numer decyzji, nazwisko\n"
            "i imię, okres od, okres do (RRRR-MM-DD). Wniosek jest aktualny, gdy dzisiejsza data mieści się\n"
            "w okresie (okres kończący się dziś jest aktualny; brak jednej z dat nie ogranicza). Bez opcji\n"
            "wypisuje także wnioski bez podanego okresu, z --dated-only tylko te z co najmniej jedną datą.\n"
            "Z --delete usuwa wypisane wnioski w jednej transakcji (po błędzie żaden nie znika) i podaje\n"
            "ich liczbę; bez niej bazę otwiera tylko do odczytu."),
        {QCommandLineOption(QStringLiteral("dated-only"), QStringLiteral("tylko wnioski z co najmniej jedną datą okresu")),
         QCommandLineOption(QStringLiteral("delete"), QStringLiteral("usuwa wypisane wnioski"))},
        0,
        0,
        runExpired,
    };
}

}  // namespace varnel::cli
