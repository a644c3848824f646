#include "lists/ListTemplate.h"
#include "lists/windows/ColumnGrid.h"
#include "lists/windows/TFormWzorListy.h"
#include "support/Program.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace varnel;
using namespace varnel::lists;
using Kind = test::ScriptedQuestions::Kind;
using Answer = test::ScriptedQuestions::Answer;
using Section = TFormWzorListy::Section;

namespace {

const QStringList Faces{QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"),
                        QStringLiteral("Liberation Serif")};

class TemplateEditor : public test::ProgramTest {
protected:
    TemplateEditor() {
        editor = std::make_unique<TFormWzorListy>(ctx, nullptr, Faces, [](const QString &face) {
            return face == QLatin1String("Arial") ? QStringLiteral("Liberation Sans") : QString();
        });
        editor->FormShow();
        editor->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(editor.get()));
    }

    QString file(const char *name) const { return QDir(db.path()).filePath(QString::fromLatin1(name)); }
    void writeFile(const QString &path, const QByteArray &bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QVector<ListColumn> columns() const { return editor->columnModel()->columns(); }
    QStringList positions() const {
        QStringList p;
        for (int r = 0; r < editor->columnModel()->rowCount(); ++r)
            p << editor->columnModel()->index(r, ColumnGridModel::Position).data().toString();
        return p;
    }
    void choose(QComboBox *box, const QString &text) {
        box->setCurrentIndex(box->findText(text));
        emit box->activated(box->currentIndex());
    }
    void enter(QWidget *w) {
        QFocusEvent in(QEvent::FocusIn);
        QCoreApplication::sendEvent(w, &in);
    }
    static QColor base(QWidget *w) { return w->palette().color(QPalette::Base); }

    std::unique_ptr<TFormWzorListy> editor;
};

}  // namespace

TEST_F(TemplateEditor, TheActiveSectionIsWhiteAndRaisedAndTheToolBarEditsItsFont) {
    EXPECT_EQ(editor->windowTitle(), QStringLiteral("Wzorzec listy:  "));
    EXPECT_EQ(editor->CBoxOdstepNagl->count(), 7);
    EXPECT_EQ(editor->CBoxOdstepNagl->currentText(), QStringLiteral("1/4 linii"));
    EXPECT_EQ(editor->CBoxOdstepLinia->currentText(), QStringLiteral("1/4 linii"));
    EXPECT_EQ(editor->CBoxFontSize->currentText(), QStringLiteral("10"));
    EXPECT_EQ(editor->CBoxFontSize->count(), 16);

    ASSERT_EQ(editor->activeSection(), Section::Header);
    EXPECT_EQ(base(editor->MemoNagl), QColor(Qt::white));
    EXPECT_EQ(editor->MemoNagl->frameShadow(), QFrame::Raised);
    EXPECT_TRUE(editor->LabelNagl->font().bold());
    EXPECT_TRUE(editor->LabelOdstepNagl->font().bold());
    EXPECT_EQ(base(editor->DBGridLineDef), QColor(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(editor->DBGridLineDef->frameShadow(), QFrame::Plain);
    EXPECT_FALSE(editor->LabelLinia->font().bold());
    EXPECT_FALSE(editor->CBoxOdstepLinia->hasFrame());

    // The header takes 14 points, bold, in another face.
    choose(editor->CBoxFontSize, QStringLiteral("14"));
    editor->BoldButton->click();
    choose(editor->CBoxFontName, QStringLiteral("Liberation Serif"));
    EXPECT_EQ(editor->headerFont(), (ListFont{QStringLiteral("Liberation Serif"), 14, true, false, false}));
    EXPECT_EQ(editor->MemoNagl->font().pointSize(), 14);
    EXPECT_TRUE(editor->MemoNagl->font().bold());

    // Entering the grid activates the rows: the tool bar shows their font,
    // which the header's changes did not touch.
    enter(editor->DBGridLineDef);
    ASSERT_EQ(editor->activeSection(), Section::Rows);
    EXPECT_EQ(base(editor->DBGridLineDef), QColor(Qt::white));
    EXPECT_EQ(base(editor->MemoNagl), QColor(0xC0, 0xC0, 0xC0));
    EXPECT_TRUE(editor->LabelOdstepLinia->font().bold());
    EXPECT_FALSE(editor->LabelNagl->font().bold());
    EXPECT_EQ(editor->CBoxFontSize->currentText(), QStringLiteral("10"));
    EXPECT_FALSE(editor->BoldButton->isChecked());
    editor->ItalicButton->click();
    EXPECT_TRUE(editor->rowFont().italic);
    EXPECT_FALSE(editor->headerFont().italic);
    EXPECT_TRUE(editor->DBGridLineDef->font().italic());

    // A click in the header text makes it active again, with its font.
    QTest::mouseClick(editor->MemoNagl->viewport(), Qt::LeftButton);
    EXPECT_EQ(editor->activeSection(), Section::Header);
    EXPECT_EQ(editor->CBoxFontSize->currentText(), QStringLiteral("14"));
    EXPECT_TRUE(editor->BoldButton->isChecked());
    EXPECT_FALSE(editor->ItalicButton->isChecked());
    enter(editor->CBoxOdstepLinia);
    EXPECT_EQ(editor->activeSection(), Section::Rows);
    enter(editor->CBoxOdstepNagl);
    EXPECT_EQ(editor->activeSection(), Section::Header);
    EXPECT_TRUE(questions.asked().empty());
}

TEST_F(TemplateEditor, ColumnsComeFromTheDataItemsAndOnlySummableOnesAreTotalled) {
    QListWidget *items = editor->LBoxDane;
    ASSERT_EQ(items->count(), 33);
    EXPECT_EQ(items->item(0)->text(), QStringLiteral("Adres"));
    // A real double click on an item adds it and activates the rows.
    const QList<QListWidgetItem *> found = items->findItems(QStringLiteral("Wypłata (całość)"), Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1);
    items->scrollToItem(found[0]);
    const QPoint at = items->visualItemRect(found[0]).center();
    QTest::mouseClick(items->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(items->viewport(), Qt::LeftButton, {}, at);
    editor->LBoxDaneDblClick(QStringLiteral("Nazwisko"));
    EXPECT_EQ(editor->activeSection(), Section::Rows);
    EXPECT_EQ(columns(), (QVector<ListColumn>{{QStringLiteral("Wypłata (całość)"), 20, QStringLiteral("-")},
                                              {QStringLiteral("Nazwisko"), 20, QString()}}));
    EXPECT_EQ(positions(), (QStringList{QStringLiteral("1"), QStringLiteral("2")}));

    ColumnGridModel *m = editor->columnModel();
    // A double click in "Sumować" switches "-" and "+"; elsewhere it does nothing.
    editor->DBGridLineDefDblClick(m->index(0, ColumnGridModel::Sum));
    EXPECT_EQ(columns()[0].sum, QStringLiteral("+"));
    editor->DBGridLineDefDblClick(m->index(0, ColumnGridModel::Name));
    EXPECT_EQ(columns()[0].sum, QStringLiteral("+"));
    QTableView *grid = editor->DBGridLineDef;
    const QPoint sum = grid->visualRect(m->index(0, ColumnGridModel::Sum)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, sum);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, sum);
    EXPECT_EQ(columns()[0].sum, QStringLiteral("-"));
    editor->DBGridLineDefDblClick(m->index(1, ColumnGridModel::Sum));
    EXPECT_EQ(questions.texts(Kind::Inform), QStringList{QStringLiteral("Nie można sumować wg pola: Nazwisko")});
    EXPECT_EQ(columns()[1].sum, QString());
}

TEST_F(TemplateEditor, WidthsAreTypedIntoTheGridAndBadOnesAreRefused) {
    editor->LBoxDaneDblClick(QStringLiteral("Adres"));
    ColumnGridModel *m = editor->columnModel();
    EXPECT_TRUE(m->flags(m->index(0, ColumnGridModel::Width)) & Qt::ItemIsEditable);
    EXPECT_FALSE(m->flags(m->index(0, ColumnGridModel::Sum)) & Qt::ItemIsEditable);
    EXPECT_FALSE(m->flags(m->index(0, ColumnGridModel::Name)) & Qt::ItemIsEditable);

    QTableView *grid = editor->DBGridLineDef;
    const QModelIndex width = m->index(0, ColumnGridModel::Width);
    grid->setCurrentIndex(width);
    grid->edit(width);
    auto *typed = grid->viewport()->findChild<QLineEdit *>();
    ASSERT_TRUE(typed);
    typed->selectAll();
    QTest::keyClicks(typed, QStringLiteral("34"));
    QTest::keyClick(typed, Qt::Key_Return);
    QCoreApplication::processEvents();  // the grid takes the text once the key is over
    EXPECT_EQ(columns()[0].width, 34);
    EXPECT_TRUE(editor->isModified());

    EXPECT_FALSE(m->setData(m->index(0, ColumnGridModel::Width), QStringLiteral("0")));
    EXPECT_FALSE(m->setData(m->index(0, ColumnGridModel::Width), QStringLiteral("dużo")));
    QCoreApplication::processEvents();
    EXPECT_EQ(columns()[0].width, 34);
    ASSERT_EQ(questions.texts(Kind::Inform).size(), 2);
    EXPECT_TRUE(questions.texts(Kind::Inform)[1].contains(QStringLiteral("„dużo”")));
}

TEST_F(TemplateEditor, DeletingAsksFirstAndPositionsStayOneToN) {
    for (const char *item : {"Lp.", "Nazwisko i imię", "Adres", "Podpis"})
        editor->LBoxDaneDblClick(QString::fromUtf8(item));
    editor->DBGridLineDef->setCurrentIndex(editor->columnModel()->index(1, ColumnGridModel::Name));

    questions.answer(Answer::No);
    editor->Usupozycje->trigger();
    EXPECT_EQ(questions.texts(Kind::Confirm), QStringList{QStringLiteral("Usunąć pozycję?")});
    EXPECT_TRUE(questions.asked().back().defaultNo);  // a delete: "Nie" first
    EXPECT_EQ(columns().size(), 4);
    EXPECT_EQ(positions(), (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")}));

    questions.answer(Answer::Yes);
    editor->Usupozycje->trigger();
    EXPECT_EQ(columns().size(), 3);
    EXPECT_EQ(columns()[1].name, QStringLiteral("Adres"));
    EXPECT_EQ(positions(), (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}));
    editor->LBoxDaneDblClick(QStringLiteral("Uwagi"));
    EXPECT_EQ(positions().last(), QStringLiteral("4"));

    // With no column there is nothing to ask about.
    editor->FormShow();
    questions.clear();
    editor->UsupozycjeClick();
    EXPECT_TRUE(questions.asked().empty());
}

TEST_F(TemplateEditor, SavedTemplatesOpenAgainAsTheyWere) {
    editor->MemoNagl->setPlainText(QStringLiteral("LISTA WYPŁAT\nza miesiąc ...."));
    choose(editor->CBoxFontSize, QStringLiteral("12"));
    editor->UnderlineButton->click();
    choose(editor->CBoxOdstepNagl, QStringLiteral("1/2 linii"));
    editor->LBoxDaneDblClick(QStringLiteral("Lp."));
    editor->LBoxDaneDblClick(QStringLiteral("Wypłata (zarządca)"));
    editor->LBoxDaneDblClick(QStringLiteral("Czynsz"));
    editor->DBGridLineDefDblClick(editor->columnModel()->index(1, ColumnGridModel::Sum));
    choose(editor->CBoxFontSize, QStringLiteral("8"));
    choose(editor->CBoxFontName, QStringLiteral("Liberation Sans"));
    choose(editor->CBoxOdstepLinia, QStringLiteral("1 i 1/2 linii"));
    const ListTemplate made = editor->currentTemplate();
    EXPECT_EQ(made.headerLines.size(), 2);
    EXPECT_EQ(made.rowFont, (ListFont{QStringLiteral("Liberation Sans"), 8, false, false, false}));

    files.chosen = file("wyplaty.lsa");
    ASSERT_TRUE(editor->SaveButtonClick());
    ASSERT_EQ(files.asked.size(), 1);
    EXPECT_TRUE(files.asked[0].save);
    EXPECT_EQ(files.asked[0].directory, db.path());
    EXPECT_EQ(files.asked[0].filter, QStringLiteral("Wzorzec formularza (*.lsa)|*.lsa|Dowolny (*.*)|*.*"));
    EXPECT_EQ(files.asked[0].suffix, QStringLiteral("lsa"));
    EXPECT_EQ(editor->windowTitle(), QStringLiteral("Wzorzec listy:  ") + files.chosen);
    EXPECT_FALSE(editor->isModified());
    QFile saved(files.chosen);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    EXPECT_TRUE(bytes.startsWith("biU12DejaVu Sans\r\n3\r\n2\r\n"));
    EXPECT_TRUE(bytes.contains("biu08Liberation Sans\r\n6\r\n20/N/Lp.\r\n"));

    // A second save proposes the file it was saved to.
    ASSERT_TRUE(editor->SaveButtonClick());
    EXPECT_EQ(files.asked[1].directory, files.chosen);

    editor->FormShow();
    EXPECT_TRUE(editor->currentTemplate().columns.isEmpty());
    EXPECT_EQ(editor->windowTitle(), QStringLiteral("Wzorzec listy:  "));
    ASSERT_TRUE(editor->OpenButtonClick());
    EXPECT_EQ(files.asked[2].filter, QStringLiteral("Wzorzec listy (*.lsa)|*.lsa|Dowolny (*.*)|*.*"));
    EXPECT_EQ(files.asked[2].directory, db.path());
    EXPECT_EQ(editor->currentTemplate(), made);
    EXPECT_EQ(editor->windowTitle(), QStringLiteral("Wzorzec listy:  ") + files.chosen);
    EXPECT_EQ(editor->activeSection(), Section::Header);
    EXPECT_EQ(editor->CBoxFontSize->currentText(), QStringLiteral("12"));
    EXPECT_FALSE(editor->isModified());
    EXPECT_TRUE(questions.asked().empty());
}

TEST_F(TemplateEditor, FontsOfAnotherWorkstationAreReplacedWithAMessage) {
    // The header in 7 points of a face not installed; the rows in Arial,
    // drawn here with its installed twin.
    files.chosen = file("obca.lsa");
    writeFile(files.chosen, "BiU07Comic Sans MS\r\n0\r\n1\r\nNag\xb3\xf3wek\r\nbiu09Arial\r\n2\r\n15/+/Czynsz\r\n");
    ASSERT_TRUE(editor->OpenButtonClick());
    EXPECT_EQ(questions.texts(Kind::Inform), (QStringList{QStringLiteral("Nie zdefiniowany rozmiar czcionki!"),
                                                         QStringLiteral("Nie zdefiniowana nazwa czcionki!")}));
    const ListTemplate t = editor->currentTemplate();
    EXPECT_EQ(t.headerFont, (ListFont{QStringLiteral("DejaVu Sans"), 10, true, false, true}));
    EXPECT_EQ(t.headerLines, QStringList{QStringLiteral("Nagłówek")});
    EXPECT_EQ(t.headerSpacing, 0);
    EXPECT_EQ(t.rowFont, (ListFont{QStringLiteral("Liberation Sans"), 9, false, false, false}));
    EXPECT_EQ(t.rowSpacing, 2);
    EXPECT_EQ(t.columns, (QVector<ListColumn>{{QStringLiteral("Czynsz"), 15, QStringLiteral("+")}}));
}

TEST_F(TemplateEditor, FilesThatAreNoListTemplatesAreToldAndKeepWhatWasRead) {
    editor->LBoxDaneDblClick(QStringLiteral("Nazwisko"));
    questions.answer(Answer::No);  // "Zapisać zmiany?"

    files.chosen = file("list.txt");
    writeFile(files.chosen, "BIU\r\n");  // three style letters only
    EXPECT_FALSE(editor->OpenButtonClick());
    EXPECT_EQ(questions.texts(Kind::Inform),
              QStringList{QStringLiteral("Zbiór: ") + files.chosen + QStringLiteral(" nie zawiera opisu listy!!")});
    EXPECT_EQ(editor->windowTitle(), QStringLiteral("Wzorzec listy:  ") + files.chosen);
    EXPECT_EQ(columns().size(), 1);

    // A good header and a bad second descriptor: the header stays, the
    // columns are those there were.
    questions.clear();
    files.chosen = file("pol.lsa");
    writeFile(files.chosen, "bIu12Liberation Serif\r\n3\r\n1\r\nLISTA\r\nxyz\r\n1\r\n20/N/Adres\r\n");
    EXPECT_FALSE(editor->OpenButtonClick());
    EXPECT_EQ(questions.texts(Kind::Inform),
              QStringList{QStringLiteral("Zbiór: ") + files.chosen + QStringLiteral(" nie zawiera opisu listy!!")});
    const ListTemplate t = editor->currentTemplate();
    EXPECT_EQ(t.headerLines, QStringList{QStringLiteral("LISTA")});
    EXPECT_EQ(t.headerFont, (ListFont{QStringLiteral("Liberation Serif"), 12, false, true, false}));
    EXPECT_EQ(t.headerSpacing, 3);
    EXPECT_EQ(t.columns, (QVector<ListColumn>{{QStringLiteral("Nazwisko"), 20, QString()}}));
    EXPECT_FALSE(editor->isModified());

    // An unreadable file gives the file's error.
    questions.clear();
    files.chosen = file("brak.lsa");
    EXPECT_FALSE(editor->OpenButtonClick());
    ASSERT_EQ(questions.texts(Kind::Error).size(), 1);
    EXPECT_TRUE(questions.texts(Kind::Error)[0].contains(files.chosen));
}

TEST_F(TemplateEditor, AnEmptyTemplateIsNotSaved) {
    editor->MemoNagl->setPlainText(QStringLiteral("Sam nagłówek"));
    files.chosen = file("pusty.lsa");
    EXPECT_FALSE(editor->SaveButtonClick());
    EXPECT_EQ(questions.texts(Kind::Inform), QStringList{QStringLiteral("Nie zdefiniowano żadnej pozycji!")});
    EXPECT_TRUE(files.asked.isEmpty());
    EXPECT_FALSE(QFile::exists(files.chosen));
}

TEST_F(TemplateEditor, ChangesAreOfferedForSavingBeforeTheyAreLost) {
    // Closing untouched asks nothing.
    editor->reject();
    EXPECT_FALSE(editor->isVisible());
    EXPECT_TRUE(questions.asked().empty());

    editor->FormShow();
    editor->show();
    QTest::keyClicks(editor->MemoNagl, QStringLiteral("Lista"));
    EXPECT_TRUE(editor->isModified());
    editor->LBoxDaneDblClick(QStringLiteral("Adres"));

    // Yes, then the save dialog given up: the window stays, with its changes.
    questions.answer(Answer::Yes);
    editor->reject();
    EXPECT_EQ(questions.texts(Kind::Confirm), QStringList{QStringLiteral("Zapisać zmiany?")});
    EXPECT_TRUE(editor->isVisible());
    EXPECT_TRUE(editor->isModified());

    // Yes and a file: saved, then closed.
    files.chosen = file("zamkniety.lsa");
    questions.answer(Answer::Yes);
    editor->reject();
    EXPECT_FALSE(editor->isVisible());
    ASSERT_TRUE(QFile::exists(files.chosen));
    EXPECT_EQ(readListTemplateFile(files.chosen).tmpl.headerLines, QStringList{QStringLiteral("Lista")});

    // No: closed without saving; a spacing chosen counts as a change too.
    editor->FormShow();
    editor->show();
    choose(editor->CBoxOdstepNagl, QStringLiteral("1 linia"));
    questions.clear();
    questions.answer(Answer::No);
    editor->reject();
    EXPECT_EQ(questions.texts(Kind::Confirm), QStringList{QStringLiteral("Zapisać zmiany?")});
    EXPECT_FALSE(editor->isVisible());

    // Opening another file asks first.
    editor->FormShow();
    editor->show();
    editor->LBoxDaneDblClick(QStringLiteral("Adres"));
    questions.clear();
    questions.answer(Answer::No);
    files.chosen.clear();
    EXPECT_FALSE(editor->OpenButtonClick());
    EXPECT_EQ(questions.texts(Kind::Confirm), QStringList{QStringLiteral("Zapisać zmiany?")});
    EXPECT_FALSE(editor->isModified());
}
