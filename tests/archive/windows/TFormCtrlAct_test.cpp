// The window of expired applications on the program's register: the list,
// "Pokaż", withdrawing rows, the deletion and the order afterwards.
#include "archive/windows/TFormCtrlAct.h"
#include "data/Table.h"
#include "support/OldLayouts.h"
#include "support/windows/MainWindow.h"
#include "ui/DataGrid.h"

#include <QAbstractItemModel>
#include <QProgressBar>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace varnel;
using archive::ExpiryFilter;
using archive::TFormCtrlAct;
using data::Table;
using Kind = test::ScriptedQuestions::Kind;
using Answer = test::ScriptedQuestions::Answer;

namespace {

const QString Current = QStringLiteral("Aktualne");

class ExpiredWindow : public test::MainWindowTest {
protected:
    void SetUp() override {
        test::createDeliveredTables(*db);
        const QDate today = QDate::currentDate();
        add("Bez", QDate(), QDate(), "Opole");
        add("Minione", today.addYears(-1), today.addDays(-1), "Brzeg");
        add("Biezace", today.addMonths(-1), today, "Nysa");
        add("Przyszle", today.addDays(1), today.addYears(1), "Kluczbork");
        makeMainWindow();
        ASSERT_TRUE(main->FormShow());
        window = std::make_unique<TFormCtrlAct>(ctx, *reg, main.get());
        window->showApplication = [this] { shown << view().field(QStringLiteral("Nazwisko")).asString(); };
    }
    void add(const char *surname, const QDate &od, const QDate &doDnia, const char *town) {
        test::addApplication(*db, Current, QString::fromUtf8(surname),
                             {{QStringLiteral("Okres_od"), od.isValid() ? QVariant(od) : QVariant()},
                              {QStringLiteral("Okres_do"), doDnia.isValid() ? QVariant(doDnia) : QVariant()},
                              {QStringLiteral("Adres_miejsc"), QString::fromUtf8(town)}});
    }
    QStringList listed() {
        QStringList names;
        QAbstractItemModel *m = window->DBGridList->model();
        for (int r = 0; r < m->rowCount(); ++r)
            names << m->index(r, 1).data().toString();
        return names;
    }
    QVariantList registerNames() { return test::column(*db, Current, QStringLiteral("Nazwisko")); }

    std::unique_ptr<TFormCtrlAct> window;
    QStringList shown;
};

}  // namespace

TEST_F(ExpiredWindow, TheListShowsTheMarkedApplicationsInNameOrderWithTheFilterKeptForTheRun) {
    window->FormShow();
    EXPECT_FALSE(window->showsList());
    EXPECT_EQ(window->filter(), ExpiryFilter::NotCurrentOrUndated);
    window->ButtonLoadOKClick();
    ASSERT_TRUE(window->showsList());
    EXPECT_TRUE(window->ProgressBarDel->isHidden());
    EXPECT_EQ(window->DBGridList->model()->columnCount(), 6);
    EXPECT_EQ(window->DBGridList->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Nazw imię"));
    EXPECT_EQ(listed(), (QStringList{QStringLiteral("Bez Jan"), QStringLiteral("Minione Jan"), QStringLiteral("Przyszle Jan")}));
    EXPECT_EQ(window->DBGridList->model()->index(0, 2).data().toString().trimmed(), QStringLiteral("Opole"));

    window->setFilter(ExpiryFilter::NotCurrentOnly);
    window->ButtonEscClick();
    window->FormShow();  // every opening starts at the start panel, the choice kept
    EXPECT_FALSE(window->showsList());
    EXPECT_EQ(window->filter(), ExpiryFilter::NotCurrentOnly);
    window->ButtonLoadOKClick();
    EXPECT_EQ(listed(), (QStringList{QStringLiteral("Minione Jan"), QStringLiteral("Przyszle Jan")}));
    EXPECT_EQ(registerNames().size(), 4);
}

TEST_F(ExpiredWindow, PokazShowsTheRowsApplicationOrTellsThatItIsGone) {
    window->FormShow();
    window->ButtonLoadOKClick();
    window->list().next();  // "Minione"
    window->ButtonPokazClick();
    EXPECT_EQ(shown, QStringList{QStringLiteral("Minione")});

    {
        Table other(*db, Current);
        other.open();
        other.setIndexName(QStringLiteral("NazwNdx"));
        ASSERT_TRUE(other.findKey({QStringLiteral("Przyszle")}));
        other.remove();
    }
    window->list().last();
    window->ButtonPokazClick();
    EXPECT_EQ(questions.texts(Kind::Inform), QStringList{QStringLiteral("Błąd klucza NrEw")});
    EXPECT_EQ(shown.size(), 1);
}

TEST_F(ExpiredWindow, WithdrawingEveryRowAndDeletingDeletesNothingAndTheRegisterIsInNameOrder) {
    reg->setSortOrder(reg::SortOrder::Adres);
    window->FormShow();
    window->ButtonLoadOKClick();
    questions.answer(Answer::No);  // the first withdrawal refused
    window->ButtonCofnijZListyClick();
    EXPECT_EQ(listed().size(), 3);
    while (!window->list().isEmpty())
        window->ButtonCofnijZListyClick();
    EXPECT_EQ(questions.texts(Kind::Confirm).size(), 4);
    EXPECT_EQ(questions.texts(Kind::Confirm).first(), QStringLiteral("Wycofać pozycję z listy?"));
    window->ButtonDelAllClick();
    EXPECT_EQ(registerNames().size(), 4);
    EXPECT_EQ(reg->sortOrder(), reg::SortOrder::Nazwiska);
    EXPECT_EQ(view().indexName(), QStringLiteral("NazwNdx"));
}

TEST_F(ExpiredWindow, UsunZnalezioneDeletesTheListedApplicationsAfterTheQuestion) {
    window->FormShow();
    window->ButtonLoadOKClick();
    window->list().first();
    window->ButtonCofnijZListyClick();  // "Bez" stays
    questions.clear();
    questions.answer(Answer::No);
    window->ButtonDelAllClick();  // "Nie": nothing deleted, the window closes
    EXPECT_EQ(registerNames().size(), 4);

    window->FormShow();
    window->ButtonLoadOKClick();
    window->list().first();
    window->ButtonCofnijZListyClick();
    questions.clear();
    window->ButtonDelAllClick();
    EXPECT_EQ(questions.texts(Kind::Confirm), QStringList{QStringLiteral("Usunąć wszystkie znalezione wnioski?")});
    EXPECT_EQ(registerNames(), (QVariantList{QStringLiteral("Bez"), QStringLiteral("Biezace")}));
    EXPECT_EQ(main->grid()->model()->rowCount(), 2);
}
