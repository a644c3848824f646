#include "templates/ExampleTemplate.h"

#include "templates/FieldCatalogue.h"
#include "templates/Rtf.h"
#include "templates/TemplateFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace varnel::templates {

namespace {

constexpr quint32 Red = 0xFF0000;

// Builds paragraphs from text in which "@<name>@" marks placeholders (put in
// red) and "*...*" marks bold text.
class Builder {
public:
    Builder &para(const QString &text, Alignment a = Alignment::Justify, double size = 12, bool bold = false,
                  int spaceAfter = 0) {
        Paragraph p;
        p.alignment = a;
        p.spaceAfter = spaceAfter;
        CharStyle base;
        base.font = Font;
        base.pointSize = size;
        base.bold = bold;
        p.markStyle = base;
        static const QRegularExpression parts(QStringLiteral("(@<[^>]*>@)|\\*([^*]*)\\*"));
        qsizetype at = 0;
        auto it = parts.globalMatch(text);
        while (it.hasNext()) {
            const QRegularExpressionMatch m = it.next();
            p.append(text.mid(at, m.capturedStart() - at), base);
            CharStyle s = base;
            if (m.capturedLength(1) > 0) {
                s.color = Red;
                p.append(m.captured(1), s);
            } else {
                s.bold = true;
                if (m.captured(2).startsWith(PlaceholderStart))
                    s.color = Red;
                p.append(m.captured(2), s);
            }
            at = m.capturedEnd();
        }
        p.append(text.mid(at), base);
        m_doc.blocks.emplace_back(std::move(p));
        return *this;
    }
    Builder &empty(double size = 12) { return para(QString(), Alignment::Left, size); }
    RichText result() {
        m_doc.defaultFont = Font;
        m_doc.defaultPointSize = 12;
        return m_doc;
    }

    inline static const QString Font = QStringLiteral("Times New Roman");

private:
    RichText m_doc;
};

}  // namespace

RichText exampleDecision() {
    Builder b;
    b.para(QStringLiteral("Urząd Miasta i Gminy"), Alignment::Left, 12, true)
        .para(QStringLiteral("Referat Świadczeń Socjalnych – dodatki mieszkaniowe"), Alignment::Left)
        .para(QStringLiteral("Nr decyzji: @<Nr wniosku>@"), Alignment::Left)
        .para(QStringLiteral("................................., dnia @<Dzisiejsza data>@"), Alignment::Right)
        .empty()
        .empty()
        .para(QStringLiteral("DECYZJA"), Alignment::Center, 16, true)
        .para(QStringLiteral("w sprawie przyznania dodatku mieszkaniowego"), Alignment::Center, 12, true, 240)
        .para(QStringLiteral(
            "Na podstawie art. 7 ust. 1 ustawy z dnia 21 czerwca 2001 r. o dodatkach mieszkaniowych oraz "
            "art. 104 Kodeksu postępowania administracyjnego, po rozpatrzeniu wniosku złożonego w dniu "
            "@<Data złoż. wniosku>@ przez:"), Alignment::Justify, 12, false, 120)
        .para(QStringLiteral("@<Imię>@ @<Nazwisko>@"), Alignment::Center, 12, true)
        .para(QStringLiteral("zam. @<Adres>@"), Alignment::Center, 12, false, 240)
        .para(QStringLiteral("orzeka się"), Alignment::Center, 12, true, 120)
        .para(QStringLiteral(
            "1. Przyznać dodatek mieszkaniowy na okres od @<Okres - od>@ do @<Okres - do>@ "
            "w wysokości *@<Wypłata (całość)>@* miesięcznie."))
        .para(QStringLiteral(
            "2. Dodatek w kwocie @<Wypłata (zarządca)>@ miesięcznie wypłacać zarządcy budynku: "
            "@<Zarządca lokalu>@, na poczet należności za zajmowany lokal."))
        .para(QStringLiteral(
            "3. Ryczałt na zakup opału w kwocie @<Wypłata (ryczałt)>@ miesięcznie wypłacać wnioskodawcy."))
        .para(QStringLiteral("4. Dodatek płatny jest w terminie: @<Termin płatn.>@."), Alignment::Justify, 12,
              false, 240)
        .para(QStringLiteral("Uzasadnienie"), Alignment::Center, 12, true, 120)
        .para(QStringLiteral(
            "Gospodarstwo domowe wnioskodawcy liczy @<Liczba osób>@ os. Średni miesięczny dochód gospodarstwa "
            "wynosi @<Łączny dochód>@, tj. @<Dochód na osobę>@ na osobę. Powierzchnia użytkowa lokalu wynosi "
            "@<Pow. użytkowa>@ m², powierzchnia normatywna @<Pow. normatywna>@ m². Wydatki przypadające na "
            "normatywną powierzchnię lokalu, przyjęte do wyliczenia dodatku, wynoszą @<Łączna kwota wydatk.>@ "
            "miesięcznie. Wnioskodawca spełnia warunki przyznania dodatku mieszkaniowego, wobec czego "
            "orzeczono jak w sentencji."), Alignment::Justify, 12, false, 240)
        .para(QStringLiteral("Pouczenie"), Alignment::Center, 12, true, 120)
        .para(QStringLiteral(
            "Od niniejszej decyzji przysługuje odwołanie do Samorządowego Kolegium Odwoławczego za "
            "pośrednictwem organu, który ją wydał, w terminie 14 dni od dnia jej doręczenia. W razie "
            "niepłacenia na bieżąco należności za zajmowany lokal wypłatę dodatku wstrzymuje się."),
              Alignment::Justify, 11)
        .empty()
        .empty()
        .para(QStringLiteral("........................................................."), Alignment::Right)
        .para(QStringLiteral("(podpis i pieczęć osoby upoważnionej)"), Alignment::Right, 9);
    // Who receives the decision stands in the footer (Parametry › Wzorce pól › Stopka).
    return b.result();
}

void removeExampleDecision(const QString &directory) {
    QFile file(QDir(directory).filePath(ExampleDecisionFile));
    if (file.open(QIODevice::ReadOnly) && file.readAll() == writeRtf(exampleDecision())) {
        file.close();
        file.remove();
    }
}

void writeExampleDecision(const QString &directory) {
    const QString path = QDir(directory).filePath(ExampleDecisionFile);
    if (QFileInfo::exists(path))
        return;
    writeTemplateFile(path, exampleDecision());
}

}  // namespace varnel::templates
