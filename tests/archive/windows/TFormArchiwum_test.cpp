// The archive window in its two modes on the program's register and main
// window: the month close, opening an archive and "Bieżące".
#include "archive/ArchiveList.h"
#include "archive/MonthClose.h"
#include "archive/windows/TFormArchiwum.h"
#include "data/Layouts.h"
#include "data/Table.h"
#include "support/OldLayouts.h"
#include "support/windows/Dialogs.h"
#include "support/windows/MainWindow.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace varnel;
using archive::TFormArchiwum;
using data::Table;
using Kind = test::ScriptedQuestions::Kind;
using Answer = test::ScriptedQuestions::Answer;

namespace {

const QString Current = QStringLiteral("Aktualne");

class ArchiveWindow : public test::MainWindowTest {
protected:
    void SetUp() override {
        test::createDeliveredTables(*db);
        test::setParameters(*db, {{QStringLiteral("Min_emeryt"), 600.0}, {QStringLiteral("Koszt_kwh"), 0.4}});
        for (const char *name : {"Nowak", "Lis", "Adamczyk"})
            test::addApplication(*db, Current, QString::fromUtf8(name));
        makeMainWindow();
        ASSERT_TRUE(main->FormShow());
        window = std::make_unique<TFormArchiwum>(ctx, *reg, main.get(), QDate(2000, 1, 15));
        window->backToCurrent = [this] { main->SmnuAktualneClick(); };
    }
    QStringList years() const {
        QStringList y;
        for (int i = 0; i < window->CBoxRok->count(); ++i)
            y << window->CBoxRok->itemText(i);
        return y;
    }
    void choose(int month, const QString &year) {
        window->CBoxMies->setCurrentIndex(month - 1);
        window->CBoxRok->setCurrentIndex(int(years().indexOf(year)));
    }
    bool enabled(const char *item) { return main->menuItem(QString::fromLatin1(item))->isEnabled(); }

    std::unique_ptr<TFormArchiwum> window;
};

}  // namespace

TEST_F(ArchiveWindow, AStartInJanuary2000ProposesDecember1999WithTheYears1997To2000) {
    EXPECT_EQ(window->CBoxMies->currentText(), QStringLiteral("grudzień"));
    EXPECT_EQ(window->CBoxMies->count(), 12);
    EXPECT_EQ(years(), (QStringList{"1997", "1998", "1999", "2000"}));
    EXPECT_EQ(window->CBoxRok->currentText(), QStringLiteral("1999"));

    window->setMode(TFormArchiwum::Mode::MonthClose);
    window->FormShow();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Przenoszenie do archiwum"));
    EXPECT_FALSE(window->PanelKalend->isHidden());
    EXPECT_TRUE(window->PanelButtons->isHidden());
    window->setMode(TFormArchiwum::Mode::Open);
    window->FormShow();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Archiwum"));
    EXPECT_EQ(window->LabelButtons->text(), QStringLiteral("Otworzyć archiwum?"));
    EXPECT_TRUE(window->PanelKalend->isHidden());
}

TEST_F(ArchiveWindow, TheMenuClosesAMonthAndARepeatAnsweredNoChangesNothing) {
    // "Skopiować bieżące dane do archiwum?" Tak, then April 1999 and OK.
    ASSERT_TRUE(test::answerModalOf<TFormArchiwum>([this] { window->SMnuZamknijMiesClick(); },
                                                   [this](TFormArchiwum &w) {
                                                       choose(4, QStringLiteral("1999"));
                                                       w.ButtonDataOK->click();
                                                   }));
    EXPECT_EQ(questions.texts(Kind::Confirm), QStringList{QStringLiteral("Skopiować bieżące dane do archiwum?")});
    const std::optional<archive::ArchiveEntry> e = archive::archiveEntry(*db, QDate(1999, 4, 1));
    ASSERT_TRUE(e);
    EXPECT_EQ(e->fileName, QStringLiteral("ar041999"));
    EXPECT_DOUBLE_EQ(e->najnEmer.value_or(0), 600.0);
    EXPECT_EQ(test::column(*db, QStringLiteral("ar041999"), QStringLiteral("Nazwisko")),
              test::column(*db, Current, QStringLiteral("Nazwisko")));
    EXPECT_TRUE(view().isOpen());  // the register was refreshed
    // The proposal stays for the run.
    EXPECT_EQ(window->CBoxMies->currentText(), QStringLiteral("kwiecień"));

    // Again, with the register changed: "Nie" to writing the month again.
    test::addApplication(*db, Current, QStringLiteral("Zieliński"));
    questions.clear();
    questions.answer({Answer::Yes, Answer::No});
    ASSERT_TRUE(test::answerModalOf<TFormArchiwum>([this] { window->SMnuZamknijMiesClick(); },
                                                   [](TFormArchiwum &w) { w.ButtonDataOK->click(); }));
    EXPECT_EQ(questions.texts(Kind::Confirm).value(1),
              QStringLiteral("Pozycja: kwiecień 1999 jest w archiwum!.Zapisać ponownie?"));
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(test::column(*db, QStringLiteral("ar041999"), QStringLiteral("Nazwisko")).size(), 3);

    // "Nie" to the first question shows no window.
    questions.answer(Answer::No);
    EXPECT_FALSE(test::answerModal([this] { window->SMnuZamknijMiesClick(); }, [](QDialog &d) { d.reject(); }));
}

TEST_F(ArchiveWindow, ABadYearIsToldAndTheWindowStaysOpen) {
    window->setMode(TFormArchiwum::Mode::MonthClose);
    window->FormShow();
    window->show();
    window->CBoxRok->setCurrentIndex(-1);
    window->ButtonDataOK->click();
    EXPECT_EQ(questions.texts(Kind::Inform), QStringList{QStringLiteral("Nieprawidłowa data!")});
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(archive::archiveEntries(*db).isEmpty());
    window->ButtonDataEsc->click();
    EXPECT_FALSE(window->isVisible());
}

TEST_F(ArchiveWindow, OpeningAnArchiveSetsCaptionAndMenusAndBiezaceRestoresThem) {
    archive::closeMonth(*db, QDate(1999, 4, 1));
    archive::closeMonth(*db, QDate(2000, 10, 1));
    window->setMode(TFormArchiwum::Mode::Open);
    window->FormShow();

    // A click on a row selects its month and year.
    Table &list = window->archiveList();
    list.last();
    window->DBGridArchCellClick();
    EXPECT_EQ(window->CBoxMies->currentText(), QStringLiteral("październik"));
    EXPECT_EQ(window->CBoxRok->currentText(), QStringLiteral("2000"));

    // "Cofnij" changes nothing.
    window->ButtonLoadEscClick();
    EXPECT_EQ(reg->currentTableName(), Current);

    window->FormShow();
    list.first();
    window->ButtonLoadOKClick();
    EXPECT_TRUE(questions.asked().empty());
    EXPECT_EQ(reg->currentTableName(), QStringLiteral("ar041999"));
    EXPECT_EQ(main->windowTitle(), QStringLiteral("Archiwum: kwiecień 1999"));
    EXPECT_FALSE(enabled("SMnuZamknijMies"));
    EXPECT_FALSE(enabled("SMnuCtrlAkt"));
    EXPECT_FALSE(enabled("SMnuPrzeliczDod"));
    EXPECT_TRUE(enabled("SmnuAktualne"));
    EXPECT_FALSE(main->menuItem(QStringLiteral("SmnuAktualne"))->isChecked());
    EXPECT_TRUE(view().isOpen());
    EXPECT_EQ(view().recordCount(), 3);

    main->menuItem(QStringLiteral("SmnuAktualne"))->trigger();
    EXPECT_EQ(main->windowTitle(), QStringLiteral("Wnioski bieżące"));
    EXPECT_TRUE(enabled("SMnuZamknijMies"));
    EXPECT_TRUE(enabled("SMnuCtrlAkt"));
    EXPECT_TRUE(enabled("SMnuPrzeliczDod"));
    EXPECT_FALSE(enabled("SmnuAktualne"));
    EXPECT_TRUE(main->menuItem(QStringLiteral("SmnuAktualne"))->isChecked());
}

TEST_F(ArchiveWindow, TheMonthCloseFromAnArchiveGoesBackToTheCurrentApplicationsFirst) {
    archive::closeMonth(*db, QDate(1999, 4, 1));
    ASSERT_EQ(reg->ChangeTable(QStringLiteral("ar041999")), reg::SwitchOutcome::Opened);
    questions.answer(Answer::No);
    window->SMnuZamknijMiesClick();
    EXPECT_EQ(reg->currentTableName(), Current);
    EXPECT_EQ(main->windowTitle(), QStringLiteral("Wnioski bieżące"));
}

TEST_F(ArchiveWindow, AnEmptyFileNameIsRefusedAndAnOldArchiveEndsTheRunAfterItsUpgrade) {
    archive::writeArchiveEntry(*db, archive::ArchiveEntry{QDate(1998, 3, 1), QString(), QStringLiteral("marzec 1998"), {}, {}});
    window->setMode(TFormArchiwum::Mode::Open);
    window->FormShow();
    window->archiveList().first();
    window->ButtonLoadOKClick();
    EXPECT_EQ(questions.texts(Kind::Inform), QStringList{QStringLiteral("Nieprawidłowa nazwa archiwum!")});
    EXPECT_EQ(reg->currentTableName(), Current);

    // An archive made before Calosc_do_rak: rebuilt with its month's amounts,
    // then the run must end.
    db->createTable(test::without(data::applicationTableDef(QStringLiteral("ar051998")), test::FieldsSince1141));
    test::addApplication(*db, QStringLiteral("ar051998"), QStringLiteral("Wójcik"));
    archive::writeArchiveEntry(*db, archive::ArchiveEntry{QDate(1998, 5, 1), QStringLiteral("ar051998"),
                                                          QStringLiteral("maj 1998"), 410.0, 0.25});
    int restarts = 0;
    QObject::connect(reg.get(), &reg::Register::restartRequired, [&] { ++restarts; });
    questions.clear();
    window->FormShow();
    window->archiveList().last();
    window->ButtonLoadOKClick();
    EXPECT_EQ(restarts, 1);
    EXPECT_EQ(questions.texts(Kind::Inform).value(0),
              QStringLiteral("   Uwaga! Zostanie wykonana aktualizacja archiwum do wersji 1.14.1  "));
    EXPECT_EQ(test::column(*db, QStringLiteral("ar051998"), QStringLiteral("KosztKwh")), QVariantList{0.25});
}
