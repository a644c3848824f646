#include "cli/TotalsCommand.h"

#include "core/DbError.h"
#include "data/Database.h"
#include "data/Values.h"
#include "totals/Totals.h"

#include <QRegularExpression>
#include <QTextStream>

namespace varnel::cli {

namespace {

QDate parseMonth(const QString &option, const QString &text) {
    static const QRegularExpression re(QStringLiteral("^(\\d{4})-(\\d{2})$"));
    const auto m = re.match(text.trimmed());
    const QDate d = m.hasMatch() ? QDate(m.captured(1).toInt(), m.captured(2).toInt(), 1) : QDate();
    if (!d.isValid())
        throw CommandError(QStringLiteral("--%1 %2: podaj miesiąc jako RRRR-MM, np. 1999-04.").arg(option, text));
    return d;
}

int parseChoice(const QString &option, const QString &text, int last) {
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    if (!ok || n < 0 || n > last)
        throw CommandError(QStringLiteral("--%1 %2: podaj liczbę od 0 do %3.").arg(option, text).arg(last));
    return n;
}

QDate parseDay(const QString &text) {
    bool ok = false;
    const std::optional<QDate> d = data::parseDate(text.trimmed(), &ok);
    if (!ok || !d || !d->isValid())
        throw CommandError(QStringLiteral("--period: „%1” nie jest datą (RRRR-MM-DD albo DD.MM.RRRR).").arg(text));
    return *d;
}

totals::TotalsOptions optionsFrom(const QCommandLineParser &p, data::Database &db) {
    const bool any = p.isSet(QStringLiteral("kogo")) || p.isSet(QStringLiteral("manager")) || p.isSet(QStringLiteral("period"))
                     || p.isSet(QStringLiteral("formula"));
    if (!any)
        return totals::readTotalsOptions(db);
    totals::TotalsOptions o;
    if (p.isSet(QStringLiteral("kogo")))
        o.kogo = totals::kogoItems().at(parseChoice(QStringLiteral("kogo"), p.value(QStringLiteral("kogo")), 3));
    if (p.isSet(QStringLiteral("manager"))) {
        o.wszyscy = false;
        o.dlaZarzadcy = p.value(QStringLiteral("manager"));
    }
    if (p.isSet(QStringLiteral("period"))) {
        const QStringList bounds = p.value(QStringLiteral("period")).split(QStringLiteral(".."));
        if (bounds.size() != 2)
            throw CommandError(QStringLiteral("--period %1: podaj dwie daty rozdzielone „..”, np. 2006-01-01..2006-12-31.")
                                   .arg(p.value(QStringLiteral("period"))));
        o.ctrlOkres = true;
        o.dataPrzyslOd = parseDay(bounds[0]);
        o.dataPrzyslDo = parseDay(bounds[1]);
        if (o.dataPrzyslDo < o.dataPrzyslOd)
            throw CommandError(QStringLiteral("--period %1: Nielogiczne następstwo dat! Koniec okresu jest przed jego początkiem.")
                                   .arg(p.value(QStringLiteral("period"))));
    }
    if (p.isSet(QStringLiteral("formula"))) {
        o.liczDotacje = true;
        o.wzor = totals::wzorItems().at(parseChoice(QStringLiteral("formula"), p.value(QStringLiteral("formula")), 3));
    }
    return o;
}

void runTotals(CommandContext &c) {
    const QCommandLineParser &p = c.parser;
    const bool range = p.isSet(QStringLiteral("from")) || p.isSet(QStringLiteral("to"));
    if (range && p.isSet(QStringLiteral("table")))
        throw CommandError(QStringLiteral("podaj albo --table, albo --from i --to, nie oba."));
    if (range && !(p.isSet(QStringLiteral("from")) && p.isSet(QStringLiteral("to"))))
        throw CommandError(QStringLiteral("zakres archiwów wymaga obu opcji: --from RRRR-MM --to RRRR-MM."));
    QDate from, to;
    if (range) {
        from = parseMonth(QStringLiteral("from"), p.value(QStringLiteral("from")));
        to = parseMonth(QStringLiteral("to"), p.value(QStringLiteral("to")));
        if (to < from)
            throw CommandError(QStringLiteral("Nielogiczne następstwo dat! Miesiąc --to jest przed miesiącem --from."));
    }

    std::unique_ptr<data::Database> db = c.openDatabaseToRead();
    const totals::TotalsOptions options = optionsFrom(p, *db);
    QStringList tables;
    if (range) {
        const QVector<calc::ArchiveEntry> all = calc::readArchiveList(*db);
        const QVector<calc::ArchiveEntry> entries = totals::rangeEntries(all, from, to);
        if (entries.isEmpty())
            throw CommandError(QStringLiteral("miesiąca %1 nie ma w archiwum (ArcLista): zakres musi zaczynać się "
                                              "od zarchiwizowanego miesiąca.")
                                   .arg(from.toString(QStringLiteral("yyyy-MM"))));
        for (const calc::ArchiveEntry &e : entries)
            tables << requireTable(*db, e.fileName);
    } else {
        tables << requireTable(*db, p.isSet(QStringLiteral("table")) ? p.value(QStringLiteral("table")) : QStringLiteral("Aktualne"));
    }

    totals::Statement s;
    try {
        s = totals::computeStatement(*db, tables, options);
    } catch (const core::MissingFieldError &e) {
        throw CommandError(QStringLiteral("tabela %1 nie jest tabelą wniosków: brak pola %2.").arg(e.table(), e.field()));
    }
    const totals::RunningTotals &t = s.totals;
    c.out << "count=" << t.count << '\n'
          << "suma=" << totals::plainAmount(t.suma) << '\n'
          << "komunalne=" << totals::plainAmount(t.komunal) << '\n'
          << "spoldzielcze=" << totals::plainAmount(t.spoldz) << '\n'
          << "zakladowe=" << totals::plainAmount(t.zaklad) << '\n'
          << "inne=" << totals::plainAmount(t.inne) << '\n'
          << "dk=" << totals::plainAmount(t.dk) << '\n'
          << "dp=" << totals::plainAmount(t.dp) << '\n'
          << "dotacja=" << totals::plainAmount(s.dotacja) << '\n'
          << "procent=" << (s.liczDotacje && t.suma > 0 ? QString::asprintf("%.2f", s.procent) : QString()) << '\n'
          << "wzor=" << (s.demandComputed ? QString::number(int(s.formula)) : QString()) << '\n';
    for (const QString &w : s.warnings)
        c.out << "warning=" << w << '\n';
}

}  // namespace

Command totalsCommand() {
    Command c{
        QStringLiteral("totals"),
        QStringLiteral("totals [--table TABELA | --from RRRR-MM --to RRRR-MM] [--kogo N] [--manager TEKST] "
                       "[--period OD..DO] [--formula N] [--db KATALOG]"),
        QStringLiteral("zestawienie wydatków na dodatki tabeli albo zakresu archiwów"),
        QStringLiteral(
            "Liczy zestawienie wydatków jak okno „Zestawienie wydatków”: dla tabeli wniosków (domyślnie\n"
            "Aktualne, albo archiwum podane w --table) albo dla archiwów miesięcy od --from do --to według\n"
            "listy ArcLista (zakres zaczyna się od zarchiwizowanego miesiąca --from). Bez opcji --kogo,\n"
            "--manager, --period i --formula bierze ustawienia zapisane w tabeli skladlic; z którąkolwiek\n"
            "z nich liczy z podanymi, a pozostałe są domyślne (wszystkie wnioski, wszyscy zarządcy, bez\n"
            "okresu, zapotrzebowanie na dotację tylko z --formula).\n"
            "--kogo N: 0 Wszystkich, 1 Tylko z dodatkiem, 2 Z wypłatą dla zarządcy, 3 Z wypłatą ryczałtu.\n"
            "--manager TEKST: tylko wnioski tego zarządcy (dokładnie ten tekst).\n"
            "--period OD..DO: początek okresu przysługiwania (Okres_od) między datami, włącznie.\n"
            "--formula N: oblicza zapotrzebowanie na dotację: 0 automatycznie, 1 wg wzoru 0 dk + 0,7 dp,\n"
            "2 wg wzoru 0,2 dk + 0,5 dp, 3 wg wzoru 0,4 dk + 0,3 dp.\n"
            "Wypisuje wiersze nazwa=wartość: count, suma, komunalne, spoldzielcze, zakladowe, inne, dk,\n"
            "dp, dotacja, procent, wzor (kwoty z dwoma miejscami po kropce; procent i wzor, numer wzoru\n"
            "użytego, są puste, gdy dotacji nie liczono), potem wiersz warning= dla każdego ostrzeżenia.\n"
            "Niczego w bazie nie zmienia."),
        {QCommandLineOption(QStringLiteral("table"), QStringLiteral("tabela wniosków, np. archiwum ar041999"),
                            QStringLiteral("TABELA")),
         QCommandLineOption(QStringLiteral("from"), QStringLiteral("pierwszy miesiąc zakresu archiwów"), QStringLiteral("RRRR-MM")),
         QCommandLineOption(QStringLiteral("to"), QStringLiteral("ostatni miesiąc zakresu archiwów"), QStringLiteral("RRRR-MM")),
         QCommandLineOption(QStringLiteral("kogo"), QStringLiteral("które wnioski (0-3)"), QStringLiteral("N")),
         QCommandLineOption(QStringLiteral("manager"), QStringLiteral("tylko ten zarządca"), QStringLiteral("TEKST")),
         QCommandLineOption(QStringLiteral("period"), QStringLiteral("początek okresu przysługiwania między datami"),
                            QStringLiteral("OD..DO")),
         QCommandLineOption(QStringLiteral("formula"), QStringLiteral("wzór zapotrzebowania na dotację (0-3)"),
                            QStringLiteral("N"))},
        0,
        0,
        runTotals,
    };
    return c;
}

}  // namespace varnel::cli
