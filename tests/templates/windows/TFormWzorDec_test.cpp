// The decision template editor window, driven without a screen.
#include "templates/windows/TFormWzorDec.h"

#include "core/FileDialogs.h"
#include "support/ScriptedQuestions.h"
#include "support/TempDatabase.h"
#include "support/windows/Dialogs.h"
#include "templates/TemplateFile.h"
#include "templates/doc/DecisionDocument.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QStatusBar>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace varnel;
using templates::TFormWzorDec;
using Kind = test::ScriptedQuestions::Kind;
using Answer = test::ScriptedQuestions::Answer;

namespace {

struct Dialogs : core::FileDialogs {
    QStringList answers;  // taken in turn; an empty one gives up
    QStringList shown;    // "open <dir>" / "save <dir>"
    QString take() { return answers.isEmpty() ? QString() : answers.takeFirst(); }
    QString openFile(QWidget *, const QString &dir, const QString &, const QString &) override {
        shown << QStringLiteral("open ") + dir;
        return take();
    }
    QString saveFile(QWidget *, const QString &dir, const QString &, const QString &) override {
        shown << QStringLiteral("save ") + dir;
        return take();
    }
};

class Editor : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<TFormWzorDec>(context);
        form->FormShow();
        form->show();
        QApplication::setActiveWindow(form.get());
    }

    QString file(const char *name) const { return QDir(db.path()).filePath(QString::fromLatin1(name)); }
    QTextDocument &doc() { return *form->REdit->document(); }
    QString text() { return doc().toPlainText(); }
    void type(const QString &t) { test::typeText(form->REdit, t); }
    void selectText(const QString &what) {
        QTextCursor c = doc().find(what);
        ASSERT_FALSE(c.isNull()) << what.toStdString();
        form->REdit->setTextCursor(c);
    }
    void caretAt(int position) {
        QTextCursor c(&doc());
        c.setPosition(position);
        form->REdit->setTextCursor(c);
    }
    QTextCharFormat formatOf(const QString &what) {
        QTextCursor c = doc().find(what);
        EXPECT_FALSE(c.isNull()) << what.toStdString();
        c.setPosition(c.selectionStart() + 1);
        return c.charFormat();
    }
    void doubleClick(const QString &name) {
        const auto items = form->LBoxDane->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << name.toStdString();
        const QRect r = form->LBoxDane->visualItemRect(items.first());
        QTest::mouseClick(form->LBoxDane->viewport(), Qt::LeftButton, {}, r.center());
        QTest::mouseDClick(form->LBoxDane->viewport(), Qt::LeftButton, {}, r.center());
    }
    // A template on disk, opened in the editor.
    void openTemplate(const QString &path, const QString &content) {
        QTextDocument d;
        d.setPlainText(content);
        templates::doc::saveTemplate(d, path);
        files.answers = {path};
        form->OpenButtonClick();
        ASSERT_EQ(text(), content);
        files.shown.clear();
    }

    test::TempDatabase db;
    test::ScriptedQuestions questions;
    Dialogs files;
    core::Context context{*db, questions, files, core::RunValues{}};
    std::unique_ptr<TFormWzorDec> form;
};

}  // namespace

TEST_F(Editor, ControlsHintsAndLists) {
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Wzorzec formularza:  "));
    const std::pair<QToolButton *, const char *> hints[] = {
        {form->NewButton, "Nowy"},          {form->OpenButton, "Otwórz"},        {form->SaveButton, "Zapisz"},
        {form->BoldButton, "Wytłuszczone"}, {form->ItalicButton, "Pochyłe"},     {form->UnderlineButton, "Podkreślone"},
        {form->LeftAlign, "Do lewej"},      {form->CenterAlign, "Centruj"},      {form->RightAlign, "Do prawej"}};
    for (const auto &[button, hint] : hints)
        EXPECT_EQ(button->toolTip(), QString::fromUtf8(hint));
    EXPECT_EQ(form->FontName->toolTip(), QStringLiteral("Krój pisma"));
    EXPECT_EQ(form->CBoxFontSize->toolTip(), QStringLiteral("Rozmiar pisma"));

    // The fonts of the screen, sorted, none chosen yet; the sizes with 10.
    QStringList fonts;
    for (int i = 0; i < form->FontName->count(); ++i)
        fonts << form->FontName->itemText(i);
    EXPECT_FALSE(fonts.isEmpty());
    EXPECT_TRUE(fonts.contains(QStringLiteral("Liberation Serif")));
    for (int i = 1; i < fonts.size(); ++i)
        EXPECT_LE(fonts[i - 1].compare(fonts[i], Qt::CaseInsensitive), 0) << fonts[i].toStdString();
    EXPECT_TRUE(form->FontName->currentText().isEmpty());
    EXPECT_EQ(form->CBoxFontSize->count(), 16);
    EXPECT_EQ(form->CBoxFontSize->currentText(), QStringLiteral("10"));

    EXPECT_EQ(form->LBoxDane->count(), 38);
    EXPECT_EQ(form->LBoxDane->item(0)->text(), QStringLiteral("Adres"));
    EXPECT_FALSE(form->LBoxDane->dragEnabled());

    // Alignment buttons are one group, "Do lewej" down.
    EXPECT_TRUE(form->LeftAlign->isChecked());
    form->RightAlign->click();
    EXPECT_FALSE(form->LeftAlign->isChecked());
    EXPECT_TRUE(form->RightAlign->isChecked());

    EXPECT_EQ(form->StatusPanel[0]->text(), QStringLiteral("Line:   1   Col:   1"));
    // A new template is written in the size shown.
    EXPECT_EQ(doc().defaultFont().pointSizeF(), 10);
}

TEST_F(Editor, DoubleClickReplacesTheSelectionWithARedPlaceholder) {
    type(QStringLiteral("Pan XXX z"));
    selectText(QStringLiteral("XXX"));
    form->LBoxDane->setFocus();
    doubleClick(QStringLiteral("Nazwisko"));
    EXPECT_EQ(text(), QStringLiteral("Pan @<Nazwisko>@  z"));
    EXPECT_EQ(formatOf(QStringLiteral("@<Nazwisko>@")).foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(formatOf(QStringLiteral("  z")).foreground().color(), QColor(0, 0, 0));  // the space after it
    EXPECT_TRUE(form->REdit->hasFocus());
    EXPECT_EQ(form->REdit->textCursor().position(), QStringLiteral("Pan @<Nazwisko>@ ").size());
    // Typing goes on in black.
    type(QStringLiteral("ok"));
    EXPECT_EQ(formatOf(QStringLiteral("ok")).foreground().color(), QColor(0, 0, 0));
    EXPECT_TRUE(doc().isModified());
}

TEST_F(Editor, AStyleButtonWithNothingSelectedOnlyToggles) {
    type(QStringLiteral("jeden dwa"));
    doc().setModified(false);
    form->BoldButton->click();
    EXPECT_TRUE(form->BoldButton->isChecked());
    EXPECT_FALSE(doc().isModified());
    EXPECT_NE(formatOf(QStringLiteral("jeden")).fontWeight(), QFont::Bold);
    // Typed text is not bold either: the button changed, the text did not.
    type(QStringLiteral(" trzy"));
    EXPECT_NE(formatOf(QStringLiteral("trzy")).fontWeight(), QFont::Bold);

    // With a selection the three buttons apply at once, as they stand.
    selectText(QStringLiteral("dwa"));
    form->UnderlineButton->click();  // bold is still down
    EXPECT_EQ(formatOf(QStringLiteral("dwa")).fontWeight(), QFont::Bold);
    EXPECT_TRUE(formatOf(QStringLiteral("dwa")).fontUnderline());
    EXPECT_NE(formatOf(QStringLiteral("jeden")).fontWeight(), QFont::Bold);
    // Moving the caret does not change the buttons.
    caretAt(0);
    EXPECT_TRUE(form->BoldButton->isChecked());
    EXPECT_TRUE(form->UnderlineButton->isChecked());

    // Font and size act on the selection only as well.
    const int times = form->FontName->findText(QStringLiteral("Liberation Mono"));
    ASSERT_GE(times, 0);
    form->FontName->setCurrentIndex(times);
    form->FontNameChange();
    form->CBoxFontSize->setCurrentText(QStringLiteral("24"));
    form->CBoxFontSizeChange();
    EXPECT_NE(formatOf(QStringLiteral("jeden")).fontPointSize(), 24);
    selectText(QStringLiteral("jeden"));
    form->FontNameChange();
    form->CBoxFontSizeChange();
    EXPECT_EQ(formatOf(QStringLiteral("jeden")).fontPointSize(), 24);
    EXPECT_EQ(formatOf(QStringLiteral("jeden")).fontFamilies().toStringList().value(0), QStringLiteral("Liberation Mono"));
    EXPECT_NE(formatOf(QStringLiteral("trzy")).fontPointSize(), 24);
}

TEST_F(Editor, AlignmentActsOnTheParagraphUnderTheCaret) {
    type(QStringLiteral("DECYZJA"));
    QTest::keyClick(form->REdit, Qt::Key_Return);
    type(QStringLiteral("treść"));
    caretAt(2);
    form->CenterAlign->click();
    EXPECT_EQ(doc().begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_NE(doc().begin().next().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
}

TEST_F(Editor, TheStatusBarFollowsTheCaret) {
    type(QStringLiteral("DECYZJA"));
    QTest::keyClick(form->REdit, Qt::Key_Return);
    type(QStringLiteral("Pan Jan"));
    EXPECT_EQ(form->StatusPanel[0]->text(), QStringLiteral("Line:   2   Col:   8"));
    caretAt(3);
    EXPECT_EQ(form->StatusPanel[0]->text(), QStringLiteral("Line:   1   Col:   4"));
    QTest::keyClick(form->REdit, Qt::Key_End, Qt::ShiftModifier);  // a selection moves it too
    EXPECT_EQ(form->StatusPanel[0]->text(), QStringLiteral("Line:   1   Col:   8"));
}

TEST_F(Editor, ClosingAnUnchangedEditorAsksNothing) {
    form->close();
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(questions.asked().empty());
}

TEST_F(Editor, ClosingWithChangesTakesEachAnswer) {
    const QString path = file("decyzja.fmz");
    openTemplate(path, QStringLiteral("wzór"));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Wzorzec formularza:  ") + path);
    type(QStringLiteral("X"));

    // Anuluj keeps the window open with the changes.
    questions.answer(Answer::Cancel);
    form->close();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(questions.texts(Kind::ConfirmOrCancel), QStringList{QStringLiteral("Zapisać zmiany?")});
    EXPECT_EQ(text(), QStringLiteral("Xwzór"));
    EXPECT_TRUE(doc().isModified());

    // Nie closes and drops them; the next opening is empty.
    questions.answer(Answer::No);
    form->close();
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(text().isEmpty());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Wzorzec formularza:  "));
    EXPECT_EQ(templates::readTemplateFile(path).plainText(), QStringLiteral("wzór\n"));

    // Tak writes them into the file the template came from.
    form->FormShow();
    form->show();
    openTemplate(path, QStringLiteral("wzór"));
    caretAt(4);
    type(QStringLiteral("!"));
    questions.answer(Answer::Yes);
    form->close();
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(files.shown.isEmpty());
    EXPECT_EQ(templates::readTemplateFile(path).plainText(), QStringLiteral("wzór!\n"));
}

TEST_F(Editor, TakThenCancellingTheSaveDialogReturnsToTheEditor) {
    type(QStringLiteral("nowy wzór"));
    questions.answer(Answer::Yes);
    form->close();  // the save dialog is given up
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(files.shown, QStringList{QStringLiteral("save ") + db.path()});
    EXPECT_EQ(text(), QStringLiteral("nowy wzór"));
    EXPECT_TRUE(doc().isModified());
}

TEST_F(Editor, NowyAndOtworzWithChanges) {
    const QString first = file("pierwszy.fmz");
    const QString second = file("drugi.fmz");
    openTemplate(second, QStringLiteral("drugi"));
    openTemplate(first, QStringLiteral("pierwszy"));
    type(QStringLiteral("X"));

    // "Nowy", Anuluj: nothing happens.
    questions.answer(Answer::Cancel);
    form->NewButton->click();
    EXPECT_EQ(text(), QStringLiteral("Xpierwszy"));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Wzorzec formularza:  ") + first);

    // "Otwórz", Tak: saved into its file, then the other one opens.
    questions.answer(Answer::Yes);
    files.answers = {second};
    form->OpenButton->click();
    EXPECT_EQ(files.shown, QStringList{QStringLiteral("open ") + db.path()});
    EXPECT_EQ(templates::readTemplateFile(first).plainText(), QStringLiteral("Xpierwszy\n"));
    EXPECT_EQ(text(), QStringLiteral("drugi"));
    EXPECT_FALSE(doc().isModified());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Wzorzec formularza:  ") + second);

    // "Nowy", Nie: an empty template without a name.
    type(QStringLiteral("Y"));
    questions.answer(Answer::No);
    form->NewButton->click();
    EXPECT_TRUE(text().isEmpty());
    EXPECT_FALSE(doc().isModified());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Wzorzec formularza:  "));
    EXPECT_EQ(templates::readTemplateFile(second).plainText(), QStringLiteral("drugi\n"));
}

TEST_F(Editor, ZapiszAndAFileErrorKeepTheNameAsItWas) {
    type(QStringLiteral("wzór"));
    const QString path = file("nowy.fmz");
    files.answers = {path};
    form->SaveButton->click();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Wzorzec formularza:  ") + path);
    EXPECT_FALSE(doc().isModified());
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.readAll().startsWith("{\\rtf1"));

    // Saving where no file can be: told, and the name stays.
    type(QStringLiteral("!"));
    files.answers = {file("brak/nowy.fmz")};
    form->SaveButton->click();
    EXPECT_EQ(questions.count(Kind::Error), 1);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Wzorzec formularza:  ") + path);
    EXPECT_TRUE(doc().isModified());
    EXPECT_EQ(files.shown.last(), QStringLiteral("save ") + path);  // the current name filled in

    // Opening a file that cannot be read: told, the document stays.
    questions.answer(Answer::No);
    files.answers = {file("brak.fmz")};
    form->OpenButton->click();
    EXPECT_EQ(questions.count(Kind::Error), 2);
    EXPECT_EQ(text(), QStringLiteral("wzór!"));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Wzorzec formularza:  ") + path);
}

TEST_F(Editor, PopupItemsFollowTheSelectionAndTheClipboard) {
    QApplication::clipboard()->clear();
    type(QStringLiteral("jeden dwa"));
    form->PopupMenuPopup();
    EXPECT_FALSE(form->PMnuKopiuj->isEnabled());
    EXPECT_FALSE(form->PMnuWytnij->isEnabled());
    EXPECT_FALSE(form->PMnuUsun->isEnabled());
    EXPECT_FALSE(form->PMnuWklej->isEnabled());
    EXPECT_TRUE(form->PMnuZaznaczWszystko->isEnabled());

    selectText(QStringLiteral("dwa"));
    form->PopupMenuPopup();
    EXPECT_TRUE(form->PMnuKopiuj->isEnabled());
    EXPECT_TRUE(form->PMnuWytnij->isEnabled());
    EXPECT_TRUE(form->PMnuUsun->isEnabled());

    form->PMnuKopiuj->trigger();
    form->PopupMenuPopup();
    EXPECT_TRUE(form->PMnuWklej->isEnabled());
    form->PMnuUsun->trigger();
    EXPECT_EQ(text(), QStringLiteral("jeden "));
    form->PMnuWklej->trigger();
    EXPECT_EQ(text(), QStringLiteral("jeden dwa"));
    form->PMnuZaznaczWszystko->trigger();
    EXPECT_EQ(form->REdit->textCursor().selectedText(), QStringLiteral("jeden dwa"));
    form->PMnuWytnij->trigger();
    EXPECT_TRUE(text().isEmpty());

    QStringList captions;
    for (QAction *a : form->PopupMenu->actions())
        captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(captions.join(QLatin1Char('|')), QStringLiteral("Kopiuj|Wytnij|Wklej|-|Zaznacz wszystko|Usuń"));
}

TEST_F(Editor, TheLayoutFollowsTheWindow) {
    form->resize(900, 640);
    QApplication::processEvents();
    const int listWidth = form->LBoxDane->width();
    EXPECT_EQ(form->REdit->width(), 900 - listWidth - 30);
    EXPECT_EQ(form->REdit->height(), 640 - 100);
    EXPECT_EQ(form->LBoxDane->x(), form->REdit->geometry().right() + 1 + 10);
    EXPECT_EQ(form->LBoxDane->y(), form->REdit->y());
    EXPECT_EQ(form->LBoxDane->height(), form->REdit->height() - 30);
    EXPECT_EQ(form->StatusBar->y(), 640 - 50);
    EXPECT_GT(form->REdit->y(), form->ToolBar->geometry().bottom());
}
