// Printing decisions: one decision as a job, many decisions into one job,
// and the filling of the decisions of a table without a window.
#include "templates/doc/DecisionPrinting.h"

#include "cli/OfficeDatabase.h"
#include "core/DbError.h"
#include "core/Progress.h"
#include "data/Table.h"
#include "print/RecordingPageDevice.h"
#include "support/Program.h"
#include "support/RecordedProgress.h"
#include "support/TempDatabase.h"
#include "templates/Rtf.h"
#include "templates/TemplateFile.h"

#include <QFontMetricsF>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

using namespace varnel;
using namespace varnel::templates::doc;
using Recorder = print::RecordingPageDevice;

namespace {

QStringList textsOf(const Recorder::Page &page) {
    QStringList list;
    for (const auto &t : page.texts)
        list << t.text;
    return list;
}

std::unique_ptr<QTextDocument> decisionOf(const QString &name, int paragraphs) {
    auto doc = std::make_unique<QTextDocument>();
    doc->setDefaultFont(QFont(QStringLiteral("Liberation Serif"), 12));
    QTextCursor c(doc.get());
    c.insertText(QStringLiteral("Decyzja dla: ") + name);
    for (int i = 1; i < paragraphs; ++i) {
        c.insertBlock();
        c.insertText(QStringLiteral("Akapit %1 uzasadnienia decyzji, dość długi, aby przekroczyć szerokość strony "
                                    "i złamać się na kilka wierszy w obrębie wydruku.")
                         .arg(i));
    }
    return doc;
}

}  // namespace

TEST(DecisionPrint, OneJobTitledDecyzjaInsideTheRectangleWithItsCopies) {
    // A landscape page: the right and bottom edges come from the page.
    Recorder device(QSize(1754, 1240));
    const auto doc = decisionOf(QStringLiteral("Kowalski Jan"), 40);
    ASSERT_TRUE(printDecision(device, *doc, 2));
    ASSERT_EQ(device.jobs().size(), 1);
    const Recorder::Job &job = device.jobs()[0];
    EXPECT_EQ(job.title, QStringLiteral("Decyzja"));
    EXPECT_EQ(job.copies, 2);
    ASSERT_GE(job.pages.size(), 4);
    ASSERT_EQ(job.pages.size() % 2, 0);
    const int pagesOfOne = job.pages.size() / 2;
    for (int p = 0; p < pagesOfOne; ++p)
        EXPECT_EQ(textsOf(job.pages[pagesOfOne + p]), textsOf(job.pages[p]));

    for (const auto &page : job.pages) {
        EXPECT_EQ(page.texts.first().y, 50);
        for (const auto &t : page.texts) {
            EXPECT_EQ(t.x, 200);
            const qreal width = QFontMetricsF(t.font, device.layoutDevice()).horizontalAdvance(t.text);
            EXPECT_LE(t.x + width, 1754 - 200 + 1) << t.text.toStdString();
            EXPECT_LE(t.y + t.height, 1240 - 50) << t.text.toStdString();
        }
    }
    EXPECT_EQ(textsOf(job.pages[0]).first(), QStringLiteral("Decyzja dla: Kowalski Jan"));
}

TEST(DecisionPrint, ManyDecisionsAreOneJobEachFromANewPage) {
    Recorder device(QSize(1240, 1754));
    DecisionJob job(device);
    const auto a = decisionOf(QStringLiteral("Adamski"), 30);  // more than a page
    const auto b = decisionOf(QStringLiteral("Nowak"), 2);
    const auto c = decisionOf(QStringLiteral("Żak"), 1);
    for (const auto *d : {a.get(), b.get(), c.get()})
        ASSERT_TRUE(job.add(*d));
    ASSERT_TRUE(job.finish());
    EXPECT_EQ(job.decisions(), 3);
    EXPECT_FALSE(device.isJobOpen());

    ASSERT_EQ(device.jobs().size(), 1);
    EXPECT_EQ(device.jobs()[0].title, QStringLiteral("Decyzja"));
    const auto pages = device.pages();
    ASSERT_EQ(pages.size(), 4);
    EXPECT_EQ(textsOf(pages[0]).first(), QStringLiteral("Decyzja dla: Adamski"));
    EXPECT_TRUE(textsOf(pages[1]).first().startsWith(QStringLiteral("Akapit")));
    EXPECT_EQ(textsOf(pages[2]).first(), QStringLiteral("Decyzja dla: Nowak"));
    EXPECT_EQ(textsOf(pages[3]), QStringList{QStringLiteral("Decyzja dla: Żak")});
    for (const auto &page : pages)
        EXPECT_EQ(page.texts.first().y, 50);

    // Nothing added: no job at all.
    Recorder idle(QSize(1240, 1754));
    DecisionJob none(idle);
    EXPECT_TRUE(none.finish());
    EXPECT_TRUE(idle.jobs().isEmpty());
}

TEST(DecisionPrint, TheTextOfDecisionsIsSeparatedByFormFeeds) {
    EXPECT_EQ(decisionsText({QStringLiteral("A\nB"), QStringLiteral("C\n"), QStringLiteral("")}),
              QStringLiteral("A\nB\n\fC\n\f\n"));
    EXPECT_EQ(decisionsText({QStringLiteral("Jedna")}), QStringLiteral("Jedna\n"));
    EXPECT_EQ(decisionsText({}), QString());
}

namespace {

class FillingDecisions : public ::testing::Test {
protected:
    void SetUp() override {
        cli::fillNewDatabase(*db);
        test::setParameters(*db, {{QStringLiteral("DrukujMetryczke"), false}, {QStringLiteral("DrukujStopke"), false}});
        add(QStringLiteral("Żak"), QStringLiteral("Ewa"), true);
        add(QStringLiteral("Adamski"), QStringLiteral("Jan"), true);
        add(QStringLiteral("Łukasik"), QStringLiteral("Olga"), false);
        add(QStringLiteral("Lis"), QStringLiteral("Piotr"), true);
        options.userName = QStringLiteral("ADMIN");
        options.today = QDate(2024, 3, 5);
        templateText = templates::plainTextDocument(QStringLiteral("@<Nazwisko i imię>@ otrzymuje @<Wypłata (całość)>@"));
    }

    void add(const QString &surname, const QString &name, bool calculated) {
        data::Table t(*db, QStringLiteral("Aktualne"));
        t.open();
        t.insert();
        t.field(QStringLiteral("Nazwisko")).setString(surname);
        t.field(QStringLiteral("Imie")).setString(name);
        t.field(QStringLiteral("Wyplata_calosc")).setCurrency(100 + t.recordCount());
        t.field(QStringLiteral("ObliczeniaOK")).setBoolean(calculated);
        t.post();
    }

    FilledDecisions fill(const DecisionSelection &selection, QStringList &texts) {
        core::NoProgress progress;
        return fill(selection, texts, progress);
    }
    FilledDecisions fill(const DecisionSelection &selection, QStringList &texts, core::Progress &progress) {
        return fillDecisions(*db, QStringLiteral("Aktualne"), selection, templateText, options, progress,
                             [&](const QTextDocument &d) { texts << d.toPlainText(); });
    }

    test::TempDatabase db;
    templates::RichText templateText;
    DecisionOptions options;
};

}  // namespace

TEST_F(FillingDecisions, EveryApplicationInSurnameOrderWithThoseNotCalculatedNamed) {
    QStringList texts;
    test::RecordedProgress progress;
    const FilledDecisions r = fill({}, texts, progress);
    EXPECT_EQ(r.count, 4);
    EXPECT_EQ(progress.max, 4);
    EXPECT_EQ(progress.steps, 4);
    EXPECT_EQ(progress.finished, 1);
    EXPECT_EQ(texts, (QStringList{QStringLiteral("Adamski Jan otrzymuje 101.00 zł"), QStringLiteral("Lis Piotr otrzymuje 103.00 zł"),
                                  QStringLiteral("Łukasik Olga otrzymuje 102.00 zł"),
                                  QStringLiteral("Żak Ewa otrzymuje 100.00 zł")}));
    EXPECT_EQ(r.notCalculated, QStringList{QStringLiteral("Łukasik Olga (nr ew. 3)")});

    // A progress that says stop ends the filling after the decision done.
    texts.clear();
    test::RecordedProgress stopping;
    stopping.stopAtStep = 2;
    EXPECT_EQ(fill({}, texts, stopping).count, 2);
    EXPECT_EQ(texts.size(), 2);
}

TEST_F(FillingDecisions, OneApplicationByItsRegistryNumberAndTheSwitchesOfTheParameterRow) {
    options.switches.drukujStopke = true;
    options.switches.stopka = QStringLiteral("Sprawę prowadzi: @<Nazwisko>@");
    options.switches.drukujMetryczke = true;
    QStringList texts;
    const FilledDecisions r = fill({2}, texts);
    EXPECT_EQ(r.count, 1);
    EXPECT_TRUE(r.notCalculated.isEmpty());
    ASSERT_EQ(texts.size(), 1);
    const QStringList lines = texts[0].split(QLatin1Char('\n'));
    EXPECT_EQ(lines.first(), QStringLiteral("Adamski Jan otrzymuje 101.00 zł"));
    EXPECT_TRUE(lines.value(1).startsWith(QStringLiteral("Wniosek nr ew. 2 | ")));
    EXPECT_EQ(lines.last(), QStringLiteral("Sprawę prowadzi: Adamski"));

    EXPECT_THROW(fill({99}, texts), DecisionNotFound);
    EXPECT_EQ(texts.size(), 1);
}

TEST_F(FillingDecisions, AnEmptyTableFillsNothingAndATableOfAnOlderLayoutNamesWhatItLacks) {
    db->exec(QStringLiteral("DELETE FROM \"Aktualne\""));
    db->touchAllTables();
    QStringList texts;
    EXPECT_EQ(fill({}, texts).count, 0);
    EXPECT_TRUE(texts.isEmpty());

    core::NoProgress progress;
    EXPECT_THROW(fillDecisions(*db, QStringLiteral("param"), {}, templateText, options, progress,
                               [](const QTextDocument &) {}),
                 core::DbError);
}
