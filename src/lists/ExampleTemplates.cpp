#include "lists/ExampleTemplates.h"

#include <QDir>
#include <QFile>
#include <stdexcept>

namespace varnel::lists {

ListTemplate managerPaymentList() {
    ListTemplate t;
    t.headerFont = ListFont{QStringLiteral("Times New Roman"), 12, true, false, false};
    t.headerSpacing = 1;
    t.headerLines = {
        QStringLiteral("Urząd Miasta - Sekcja Dodatków Mieszkaniowych"),
        QStringLiteral("LISTA WYPŁAT DODATKÓW MIESZKANIOWYCH DLA ZARZĄDCY BUDYNKÓW"),
        QStringLiteral("za miesiąc ........................ r."),
    };
    t.rowFont = ListFont{QStringLiteral("Arial"), 8, false, false, false};
    t.rowSpacing = 3;
    t.columns = {
        {QStringLiteral("Lp."), 7, QString()},
        {QStringLiteral("Nr wniosku"), 16, QString()},
        {QStringLiteral("Nazwisko i imię"), 24, QString()},
        {QStringLiteral("Adres"), 22, QString()},
        {QStringLiteral("Wypłata (całość)"), 13, QStringLiteral("+")},
        {QStringLiteral("Wypłata (ryczałt)"), 13, QStringLiteral("+")},
        {QStringLiteral("Wypłata (zarządca)"), 13, QStringLiteral("+")},
        {QStringLiteral("Podpis"), 12, QString()},
    };
    return t;
}

ListTemplate applicantLumpSumList() {
    ListTemplate t;
    t.headerFont = ListFont{QStringLiteral("Times New Roman"), 12, true, false, false};
    t.headerSpacing = 1;
    t.headerLines = {
        QStringLiteral("Urząd Miasta - Sekcja Dodatków Mieszkaniowych"),
        QStringLiteral("LISTA WNIOSKODAWCÓW - WYPŁATA RYCZAŁTU DO RĄK WŁASNYCH"),
        QStringLiteral("za miesiąc ........................ r."),
    };
    t.rowFont = ListFont{QStringLiteral("Arial"), 9, false, false, false};
    t.rowSpacing = 5;
    t.columns = {
        {QStringLiteral("Lp."), 7, QString()},
        {QStringLiteral("Nazwisko i imię"), 30, QString()},
        {QStringLiteral("Adres"), 32, QString()},
        {QStringLiteral("Wypłata (ryczałt)"), 14, QStringLiteral("+")},
        {QStringLiteral("Podpis"), 24, QString()},
    };
    return t;
}

namespace {

std::vector<std::pair<const char *, ListTemplate>> examples() {
    return {{"lista_zarzadcy.lsa", managerPaymentList()}, {"lista_wnioskodawcow.lsa", applicantLumpSumList()}};
}

}  // namespace

QStringList writeExampleListTemplates(const QString &directory) {
    QStringList written;
    for (const auto &[name, tmpl] : examples()) {
        const QString path = QDir(directory).filePath(QString::fromLatin1(name));
        if (QFile::exists(path))
            continue;
        const QString error = writeListTemplateFile(path, tmpl);
        if (!error.isEmpty()) {
            for (const QString &w : written)
                QFile::remove(w);
            throw std::runtime_error(error.toStdString());
        }
        written << path;
    }
    return written;
}

}  // namespace varnel::lists

namespace varnel::lists {

void removeExampleListTemplates(const QString &directory) {
    for (const auto &[name, tmpl] : examples()) {
        QFile file(QDir(directory).filePath(QString::fromLatin1(name)));
        if (file.open(QIODevice::ReadOnly) && file.readAll() == writeListTemplate(tmpl)) {
            file.close();
            file.remove();
        }
    }
}

}  // namespace varnel::lists
