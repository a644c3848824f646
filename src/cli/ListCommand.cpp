#include "cli/ListCommand.h"

#include "core/Progress.h"
#include "data/Database.h"
#include "data/Layouts.h"
#include "data/Table.h"
#include "lists/ListCellValues.h"
#include "lists/doc/ListPrint.h"
#include "print/PdfFile.h"
#include "print/RecordingPageDevice.h"

#include <QGuiApplication>
#include <QTextStream>

namespace varnel::cli {

namespace {

// One text of a print per line: page, x, y, text, tab-separated; a tab or
// line break inside a text becomes a blank, so that every line has four
// fields.
QByteArray textDump(const print::RecordingPageDevice &device, int firstPage) {
    QString out;
    const auto pages = device.pages();
    for (qsizetype i = 0; i < pages.size(); ++i)
        for (const auto &t : pages[i].texts) {
            QString text = t.text;
            for (QChar &ch : text)
                if (ch == QLatin1Char('\t') || ch == QLatin1Char('\n') || ch == QLatin1Char('\r'))
                    ch = QLatin1Char(' ');
            out += QStringLiteral("%1\t%2\t%3\t%4\n").arg(firstPage + i).arg(t.x).arg(t.y).arg(text);
        }
    return out.toUtf8();
}

void runList(CommandContext &c) {
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        throw CommandError(QStringLiteral("to polecenie wymaga QGuiApplication (układa czcionki i strony)."));
    const QString pdf = c.parser.value(QStringLiteral("pdf"));
    const QString text = c.parser.value(QStringLiteral("text"));
    if (pdf.isEmpty() == text.isEmpty())
        throw CommandError(QStringLiteral("podaj dokładnie jedno z --pdf PLIK i --text PLIK."));
    const QString fromText = c.parser.value(QStringLiteral("from-page"));
    bool ok = false;
    const int fromPage = fromText.trimmed().toInt(&ok);
    if (!ok)
        throw CommandError(QStringLiteral("--from-page: Nieprawidłowa zawartość pola: Od strony („%1” nie jest liczbą "
                                          "całkowitą).")
                               .arg(fromText));

    const QString templatePath = c.parser.value(QStringLiteral("template"));
    if (templatePath.isEmpty())
        throw CommandError(QStringLiteral("podaj wzorzec listy: --template PLIK.lsa"));
    const lists::ListTemplateReading reading = lists::readListTemplateFile(templatePath);
    if (!reading.loaded())
        throw CommandError(reading.error);
    if (reading.tmpl.columns.isEmpty())
        throw CommandError(QStringLiteral("wzorzec %1 nie ma żadnej kolumny: nie ma czego drukować.").arg(templatePath));

    const QString directory = c.databaseDirectory();
    refuseOwnPath(directory, pdf.isEmpty() ? text : pdf);
    // Not read-only: the template goes through the work table WzorList.
    std::unique_ptr<data::Database> db = data::Database::open(directory);
    const QString table = requireTable(*db, c.parser.isSet(QStringLiteral("table")) ? c.parser.value(QStringLiteral("table"))
                                                                                     : QStringLiteral("Aktualne"));
    lists::ListPrintJob job;
    job.tmpl = reading.tmpl;
    job.settings = lists::readListSettings(*db);
    job.footer = lists::readListFooter(*db);
    job.fromPage = fromPage;
    job.cellValue = &lists::listCellValue;

    data::Table applications(*db, table);
    applications.setFieldNames(data::applicationFieldNames());
    applications.open();
    core::NoProgress progress;
    lists::ListPrintResult result;
    const auto render = [&](print::PageDevice &device) { result = lists::printList(applications, job, device, progress); };

    QString target;
    if (!pdf.isEmpty()) {
        const print::PdfOutcome out = print::writePdfFile(pdf, render);
        if (out.kind == print::PdfOutcome::Failed)
            throw CommandError(out.error);
        target = pdf;
    } else {
        const auto device = print::pdfLikeRecordingDevice();
        render(*device);
        if (result.outcome == lists::ListPrintResult::Printed)
            writeOwnersFile(text, textDump(*device, result.firstPrintedPage));
        target = text;
    }
    if (result.outcome != lists::ListPrintResult::Printed)
        throw CommandError(result.message() + QStringLiteral(" Nie zapisano pliku %1.").arg(target));

    c.out << QStringLiteral("Zapisano listę do pliku %1: %2, strony %3-%4.\n")
                 .arg(target,
                      polishCount(result.rows, QStringLiteral("wniosek"), QStringLiteral("wnioski"), QStringLiteral("wniosków")))
                 .arg(result.firstPrintedPage)
                 .arg(result.pages);
}

}  // namespace

Command listCommand() {
    Command c{
        QStringLiteral("list"),
        QStringLiteral("list --template PLIK [--table TABELA] [--from-page N] (--pdf PLIK | --text PLIK) [--db KATALOG]"),
        QStringLiteral("drukuje listę wypłat według wzorca do pliku PDF albo tekstowego"),
        QStringLiteral(
            "Drukuje listę wypłat wniosków tabeli (domyślnie Aktualne) według wzorca listy (*.lsa) i ustawień\n"
            "zapisanych w tabeli skladlist (które wnioski, zarządca, okres, kolejność, ramki, numery stron,\n"
            "podkreślanie wierszy), ze stopką z tabeli param, tak jak okno „Drukowanie listy”. Strony przed\n"
            "--from-page są układane, ale nie drukowane. --pdf zapisuje plik PDF (A4), --text każdy\n"
            "drukowany tekst w osobnym wierszu: strona, x, y, tekst, rozdzielone tabulatorem (położenie\n"
            "w jednostkach strony PDF, 150 na cal). Pliki może czytać tylko właściciel (dane osobowe).\n"
            "Gdy żaden wniosek nie spełnia warunków listy, nie powstaje żaden plik."),
        {QCommandLineOption(QStringLiteral("template"), QStringLiteral("plik wzorca listy (*.lsa)"), QStringLiteral("PLIK")),
         QCommandLineOption(QStringLiteral("table"), QStringLiteral("tabela wniosków, np. archiwum ar041999"),
                            QStringLiteral("TABELA")),
         QCommandLineOption(QStringLiteral("from-page"), QStringLiteral("pierwsza drukowana strona"), QStringLiteral("N"),
                            QStringLiteral("1")),
         QCommandLineOption(QStringLiteral("pdf"), QStringLiteral("plik PDF"), QStringLiteral("PLIK")),
         QCommandLineOption(QStringLiteral("text"), QStringLiteral("plik tekstowy z położeniem każdego tekstu"),
                            QStringLiteral("PLIK"))},
        0,
        0,
        runList,
    };
    c.needsGui = true;
    return c;
}

}  // namespace varnel::cli
