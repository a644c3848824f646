#include "admin/windows/TFormModiIndex.h"
#include "admin/windows/TFormSortowanieWnioskow.h"
#include "core/Context.h"
#include "data/Layouts.h"
#include "data/Table.h"
#include "register/Register.h"
#include "support/Program.h"
#include "support/ScriptedQuestions.h"
#include "support/TempDatabase.h"
#include "ui/DataGrid.h"
#include "ui/DataSource.h"
#include "ui/DbControls.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace varnel;
using data::Table;

namespace {

class SortKeyWindows : public ::testing::Test {
protected:
    void SetUp() override {
        db->createTable(data::applicationTableDef());
        db->createTable(data::paramTableDef());
        Table param(*db, QStringLiteral("param"));
        param.open();
        param.insert();
        param.field(QStringLiteral("Wzor_NrDec")).setString(QStringLiteral("AB/"));
        param.field(QStringLiteral("AlgorytmSortowania")).setInteger(1);
        param.post();

        Table t(*db, QStringLiteral("Aktualne"));
        t.open();
        for (const char *n : {"AB/10/2005", "AB/9/2005", "AB/100/2004", "K/5"}) {
            t.insert();
            t.field(QStringLiteral("Nazwisko")).setString(QStringLiteral("Nowak"));
            t.field(QStringLiteral("Imie")).setString(QStringLiteral("Jan"));
            t.field(QStringLiteral("Numer_decyzji")).setString(QString::fromUtf8(n));
            t.field(QStringLiteral("IndexNrSupport")).setString(QString::fromUtf8(n));  // keys of algorithm 1
            t.post();
        }
        ctx.values.decisionPattern = QStringLiteral("AB/");
        ctx.values.sortAlgorithm = 1;
        ASSERT_TRUE(registry.PokazListeWnioskow());
        registry.setSortOrder(reg::SortOrder::NrDec);
    }

    qint64 storedAlgorithm() {
        Table param(*db, QStringLiteral("param"));
        param.open();
        return param.field(QStringLiteral("AlgorytmSortowania")).asInteger();
    }

    test::TempDatabase db;
    test::ScriptedQuestions answers;
    test::ScriptedFiles files;
    core::Context ctx{*db, answers, files, {}};
    reg::Register registry{ctx};
    Table &reg = registry.TableWnioski();
};

QStringList column(Table &t, const char *field) {
    QStringList out;
    for (t.first(); !t.eof(); t.next())
        out << t.field(QString::fromUtf8(field)).asString();
    return out;
}

}  // namespace

TEST_F(SortKeyWindows, StartRebuildsEveryKeyAtOnceAndLeavesThePrimaryIndex) {
    ui::DataGrid grid;  // the register's list, on the sort-key order
    grid.setColumns({{QStringLiteral("IndexNrSupport"), QStringLiteral("IndexNrSupport"), 20}});
    grid.setTable(&reg);

    admin::TFormModiIndex form(ctx, registry);
    form.show();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Modyfikacja indeksu"));
    EXPECT_EQ(form.Label1->text(), QStringLiteral("Funkcja pozwala prawidłowo uporządkować listę wniosków wg nru decyzji."));
    EXPECT_FALSE(form.ProgressBar->isVisible());
    QTest::mouseClick(form.ButtonStart, Qt::LeftButton);

    EXPECT_TRUE(answers.asked().empty()) << qPrintable(answers.texts().join(QLatin1Char('\n')));
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(ctx.values.sortAlgorithm, 2);
    EXPECT_EQ(storedAlgorithm(), 2);
    EXPECT_TRUE(reg.indexName().isEmpty());
    EXPECT_EQ(registry.sortOrder(), reg::SortOrder::Primary);
    EXPECT_EQ(column(reg, "IndexNrSupport"), (QStringList{QStringLiteral("0000000010"), QStringLiteral("0000000009"),
                                                         QStringLiteral("0000000100"), QStringLiteral("K/5")}));
    EXPECT_EQ(grid.model()->index(3, 0).data().toString(), QStringLiteral("K/5"));

    // Ordered by the new keys, 9 comes before 10 and 100 at once.
    reg.setIndexName(QStringLiteral("NrDecNdx"));
    EXPECT_EQ(column(reg, "Numer_decyzji"), (QStringList{QStringLiteral("AB/9/2005"), QStringLiteral("AB/10/2005"),
                                                        QStringLiteral("AB/100/2004"), QStringLiteral("K/5")}));
}

TEST_F(SortKeyWindows, StartFollowsThePatternInForceAndAnEmptyParameterTable) {
    db->createTable(data::paramTableDef());  // no row
    ctx.values.decisionPattern = QStringLiteral("K/");
    admin::TFormModiIndex form(ctx, registry);
    form.show();
    form.ButtonStartClick();
    EXPECT_EQ(ctx.values.sortAlgorithm, 2);
    reg.first();
    EXPECT_EQ(column(reg, "IndexNrSupport").last(), QStringLiteral("0000000005"));
    EXPECT_EQ(column(reg, "IndexNrSupport").first(), QStringLiteral("AB/10/2005"));
}

TEST_F(SortKeyWindows, ClosingTheAlgorithmWindowSavesTheValueAndPutsItInForce) {
    admin::TFormSortowanieWnioskow form(ctx);
    form.show();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("FormSortowanieWnioskow"));
    QStringList labels;
    for (auto *l : form.findChildren<QLabel *>())
        labels << l->text();
    EXPECT_TRUE(labels.contains(
        QStringLiteral("2 - pobiera bez wzorca decyzji i początkowego slasha aż do drugiego slasha ")));
    EXPECT_EQ(form.DBEAlgSort->text(), QStringLiteral("1"));

    QTest::keyClicks(form.DBEAlgSort, QStringLiteral("2"));  // the text is selected: replaced
    QTest::keyClick(form.DBEAlgSort, Qt::Key_Escape);         // closing any way saves
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(storedAlgorithm(), 2);
    EXPECT_EQ(ctx.values.sortAlgorithm, 2);

    form.show();  // the value is not checked
    EXPECT_EQ(form.DBEAlgSort->text(), QStringLiteral("2"));
    QTest::keyClicks(form.DBEAlgSort, QStringLiteral("7"));
    form.ButtonOK->click();
    EXPECT_EQ(storedAlgorithm(), 7);
    EXPECT_EQ(ctx.values.sortAlgorithm, 7);
    EXPECT_TRUE(answers.asked().empty());
}

TEST_F(SortKeyWindows, TextThatIsNoNumberKeepsTheAlgorithmWindowOpen) {
    admin::TFormSortowanieWnioskow form(ctx);
    form.show();
    QTest::keyClicks(form.DBEAlgSort, QStringLiteral("dwa"));
    form.ButtonOK->click();
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(answers.asked().size(), 1u);
    EXPECT_EQ(answers.count(test::ScriptedQuestions::Kind::Error), 1);
    EXPECT_EQ(ctx.values.sortAlgorithm, 1);
    form.DBEAlgSort->selectAll();
    QTest::keyClicks(form.DBEAlgSort, QStringLiteral("2"));
    form.ButtonOK->click();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(ctx.values.sortAlgorithm, 2);
}
