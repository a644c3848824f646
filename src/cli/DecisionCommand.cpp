#include "cli/DecisionCommand.h"

#include "core/Progress.h"
#include "data/Database.h"
#include "print/PdfFile.h"
#include "templates/DecisionTemplate.h"
#include "templates/TemplateFile.h"
#include "templates/doc/DecisionPrinting.h"

#include <QGuiApplication>
#include <QTextDocument>
#include <QTextStream>

namespace varnel::cli {

namespace {

using templates::doc::DecisionNotFound;

// Headless printing has nobody logged in: the metric line names the
// account that ran the command.
QString systemUserName() {
    for (const char *variable : {"USER", "LOGNAME"}) {
        const QString name = qEnvironmentVariable(variable).trimmed();
        if (!name.isEmpty())
            return name;
    }
    return QStringLiteral("varnel-admin");
}

QString decisionCount(qint64 n) {
    return polishCount(n, QStringLiteral("decyzję"), QStringLiteral("decyzje"), QStringLiteral("decyzji"));
}

void runDecision(CommandContext &c) {
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        throw CommandError(QStringLiteral("to polecenie wymaga QGuiApplication (układa czcionki i strony)."));
    const QString pdf = c.parser.value(QStringLiteral("pdf"));
    const QString text = c.parser.value(QStringLiteral("text"));
    if (pdf.isEmpty() == text.isEmpty())
        throw UsageError(QStringLiteral("podaj dokładnie jedno z --pdf PLIK i --text PLIK."));
    const bool all = c.parser.isSet(QStringLiteral("all"));
    const bool one = c.parser.isSet(QStringLiteral("nrew"));
    if (all == one)
        throw UsageError(QStringLiteral("podaj dokładnie jedno z --nrew N i --all."));
    templates::doc::DecisionSelection selection;
    if (one) {
        const QString typed = c.parser.value(QStringLiteral("nrew"));
        bool ok = false;
        const qint64 nrEw = typed.trimmed().toLongLong(&ok);
        if (!ok || nrEw < 1)
            throw UsageError(QStringLiteral("--nrew: „%1” nie jest numerem ewidencyjnym wniosku (liczbą całkowitą "
                                            "od 1).")
                                 .arg(typed));
        selection.nrEw = nrEw;
    }
    const QString templatePath = c.parser.value(QStringLiteral("template"));
    if (templatePath.isEmpty())
        throw UsageError(QStringLiteral("podaj wzorzec decyzji: --template PLIK.fmz"));

    templates::RichText templateText;
    try {
        templateText = templates::readTemplateFile(templatePath);
    } catch (const templates::TemplateFileError &e) {
        throw CommandError(e.message());
    }

    // Reads only; the file written is never one of the database's own.
    refuseOwnPath(c.databaseDirectory(), pdf.isEmpty() ? text : pdf);
    std::unique_ptr<data::Database> db = c.openDatabaseToRead();
    const QString table = requireTable(*db, c.parser.isSet(QStringLiteral("table")) ? c.parser.value(QStringLiteral("table"))
                                                                                     : QStringLiteral("Aktualne"));
    templates::doc::DecisionOptions options;
    options.switches = templates::readDecisionPrintSwitches(*db);
    options.userName = systemUserName();

    core::NoProgress progress;
    templates::doc::FilledDecisions filled;
    const QString target = pdf.isEmpty() ? text : pdf;
    const auto none = [&] {
        return CommandError(QStringLiteral("tabela %1 nie ma żadnego wniosku: nie ma czego drukować. Nie zapisano "
                                           "pliku %2.")
                                .arg(table, target));
    };
    int pages = 0;
    try {
        if (!pdf.isEmpty()) {
            const print::PdfOutcome out = print::writePdfFile(pdf, [&](print::PageDevice &device) {
                templates::doc::DecisionJob job(device);
                filled = templates::doc::fillDecisions(*db, table, selection, templateText, options, progress,
                                                       [&](const QTextDocument &decision) {
                                                           if (!job.add(decision))
                                                               throw CommandError(device.errorString());
                                                       });
                job.finish();
            });
            if (out.kind == print::PdfOutcome::Failed)
                throw CommandError(out.error);
            if (out.kind == print::PdfOutcome::NothingPrinted)
                throw none();
            pages = out.pages;
        } else {
            QStringList texts;
            filled = templates::doc::fillDecisions(*db, table, selection, templateText, options, progress,
                                                   [&](const QTextDocument &decision) { texts << decision.toPlainText(); });
            if (texts.isEmpty())
                throw none();
            writeOwnersFile(text, templates::doc::decisionsText(texts).toUtf8());
        }
    } catch (const DecisionNotFound &e) {
        throw CommandError(QStringLiteral("w tabeli %1 nie ma wniosku o numerze ewidencyjnym %2. Nie zapisano pliku %3.")
                               .arg(table)
                               .arg(e.nrEw)
                               .arg(target));
    }

    for (const QString &name : filled.notCalculated)
        c.err << QStringLiteral("uwaga: wniosek %1 nie ma obliczonego dodatku (ObliczeniaOK nie jest ustawione): "
                                "decyzja ma kwoty zapisane we wniosku; najpierw uruchom varnel-admin recalc.\n")
                     .arg(name);
    if (pdf.isEmpty())
        c.out << QStringLiteral("Zapisano %1 do pliku %2.\n").arg(decisionCount(filled.count), text);
    else
        c.out << QStringLiteral("Zapisano %1 do pliku %2: %3.\n")
                     .arg(decisionCount(filled.count), pdf,
                          polishCount(pages, QStringLiteral("strona"), QStringLiteral("strony"), QStringLiteral("stron")));
}

}  // namespace

Command decisionCommand() {
    Command c{
        QStringLiteral("decision"),
        QStringLiteral("decision --template PLIK [--table TABELA] (--nrew N | --all) (--pdf PLIK | --text PLIK) "
                       "[--db KATALOG]"),
        QStringLiteral("wypełnia wzorzec decyzji dla wniosku albo całej tabeli, do pliku PDF albo tekstowego"),
        QStringLiteral(
            "Wypełnia wzorzec decyzji (*.fmz) danymi wniosku o numerze ewidencyjnym N (--nrew) albo każdego\n"
            "wniosku tabeli w kolejności nazwisk (--all), tak jak okno „Drukowanie decyzji”: z metryczką\n"
            "i stopką, gdy włącza je tabela param (w metryczce jako wystawiający stoi nazwa konta, które\n"
            "uruchomiło polecenie). Bierze kwoty zapisane we wnioskach, niczego nie przelicza (najpierw\n"
            "uruchom recalc) i na standardowym wyjściu błędów wymienia każdy wniosek, który nie ma\n"
            "ustawionego ObliczeniaOK. --pdf zapisuje jeden plik PDF (A4), w którym każda decyzja zaczyna\n"
            "się od nowej strony; --text zapisuje tekst wypełnionych decyzji, rozdzielonych znakiem nowej\n"
            "strony (form feed). Pliki może czytać tylko właściciel (dane osobowe). Brak wzorca, tabeli\n"
            "albo wniosku o podanym numerze to błąd: nie powstaje wtedy żaden plik."),
        {QCommandLineOption(QStringLiteral("template"), QStringLiteral("plik wzorca decyzji (*.fmz)"),
                            QStringLiteral("PLIK")),
         QCommandLineOption(QStringLiteral("table"), QStringLiteral("tabela wniosków, np. archiwum ar041999"),
                            QStringLiteral("TABELA")),
         QCommandLineOption(QStringLiteral("nrew"), QStringLiteral("numer ewidencyjny wniosku (NrEw)"),
                            QStringLiteral("N")),
         QCommandLineOption(QStringLiteral("all"), QStringLiteral("wszystkie wnioski tabeli, w kolejności nazwisk")),
         QCommandLineOption(QStringLiteral("pdf"), QStringLiteral("plik PDF"), QStringLiteral("PLIK")),
         QCommandLineOption(QStringLiteral("text"), QStringLiteral("plik tekstowy z treścią decyzji"),
                            QStringLiteral("PLIK"))},
        0,
        0,
        runDecision,
    };
    c.needsGui = true;
    return c;
}

}  // namespace varnel::cli
