// The template editor's rules: caption, status text, lists, pop-up menu,
// layout, and the file operations with the save-if-changed check.
#include "templates/TemplateEditing.h"

#include "core/FileDialogs.h"
#include "support/ScriptedQuestions.h"
#include "templates/FieldCatalogue.h"
#include "templates/TemplateFile.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace varnel::templates;
using varnel::test::ScriptedQuestions;
using Kind = ScriptedQuestions::Kind;
using Answer = ScriptedQuestions::Answer;
using Check = TemplateEditing::Check;

namespace {

// A document kept as a text, whose files are a map; paths in `failing`
// cannot be read or written.
struct FakeTemplate : EditedTemplate {
    QString text;
    bool modified = false;
    QMap<QString, QString> files;
    QSet<QString> failing;

    bool isModified() const override { return modified; }
    void setModified(bool m) override { modified = m; }
    void clear() override {
        text.clear();
        modified = false;
    }
    void loadFile(const QString &path) override {
        if (failing.contains(path) || !files.contains(path))
            throw TemplateFileError(QStringLiteral("Nie można odczytać pliku %1").arg(path));
        text = files.value(path);
    }
    void saveFile(const QString &path) override {
        if (failing.contains(path))
            throw TemplateFileError(QStringLiteral("Nie można zapisać pliku %1").arg(path));
        files[path] = text;
    }
    void type(const QString &t) {
        text += t;
        modified = true;
    }
};

struct Dialog {
    bool save;
    QString start, filter, suffix;
};

struct FakeDialogs : varnel::core::FileDialogs {
    QStringList answers;  // taken in turn; an empty one gives up
    std::vector<Dialog> shown;
    QString next() { return answers.isEmpty() ? QString() : answers.takeFirst(); }
    QString openFile(QWidget *, const QString &dir, const QString &filter, const QString &suffix) override {
        shown.push_back({false, dir, filter, suffix});
        return next();
    }
    QString saveFile(QWidget *, const QString &dir, const QString &filter, const QString &suffix) override {
        shown.push_back({true, dir, filter, suffix});
        return next();
    }
};

const QString Dir = QStringLiteral("/srv/varnel/baza");
const QString Saved = QStringLiteral("/srv/varnel/baza/decyzja.fmz");
const QString Other = QStringLiteral("/srv/varnel/baza/inna.fmz");

class Editing : public ::testing::Test {
protected:
    // A template loaded from `Saved` and then changed.
    void openAndChange() {
        doc.files[Saved] = QStringLiteral("wzór");
        files.answers = {Saved};
        ASSERT_TRUE(editing.open());
        doc.type(QStringLiteral(" zmiana"));
        files.shown.clear();
    }

    FakeTemplate doc;
    ScriptedQuestions questions;
    FakeDialogs files;
    TemplateEditing editing{doc, questions, files, Dir};
};

}  // namespace

TEST(EditorRules, CaptionCaretTextAndLists) {
    EXPECT_EQ(editorCaption(QString()), QStringLiteral("Wzorzec formularza:  "));
    EXPECT_EQ(editorCaption(Saved), QStringLiteral("Wzorzec formularza:  ") + Saved);
    EXPECT_EQ(caretText(1, 1), QStringLiteral("Line:   1   Col:   1"));
    EXPECT_EQ(caretText(12, 345), QStringLiteral("Line:  12   Col: 345"));
    EXPECT_EQ(caretText(1234, 5), QStringLiteral("Line: 1234   Col:   5"));  // wider numbers are not cut

    const QStringList sizes = editorFontSizes();
    EXPECT_EQ(sizes.join(QLatin1Char(' ')), QStringLiteral("8 9 10 11 12 14 16 18 20 22 24 26 28 36 48 72"));
    EXPECT_TRUE(sizes.contains(DefaultEditorFontSize));

    // The 38 decision names, in Polish order: "Ł" after "L", not after "Z".
    const QStringList names = editorFieldNames();
    ASSERT_EQ(names.size(), 38);
    for (const QString &n : decisionFieldNames())
        EXPECT_TRUE(names.contains(n)) << n.toStdString();
    EXPECT_EQ(names.first(), QStringLiteral("Adres"));
    EXPECT_EQ(names.last(), QStringLiteral("Zarządca lokalu"));
    const auto at = [&names](const char *n) { return names.indexOf(QString::fromUtf8(n)); };
    EXPECT_LT(at("Liczba osób"), at("Łączna kwota wydatk."));
    EXPECT_LT(at("Łączny dochód"), at("Nazwisko"));
    EXPECT_LT(at("Imię"), at("Koszt kWh"));
}

TEST(EditorRules, PopupItemsFollowTheSelectionAndTheClipboard) {
    const EditorPopupStates none = editorPopupStates(false, false);
    EXPECT_FALSE(none.copy || none.cut || none.remove || none.paste);
    const EditorPopupStates selected = editorPopupStates(true, false);
    EXPECT_TRUE(selected.copy && selected.cut && selected.remove);
    EXPECT_FALSE(selected.paste);
    const EditorPopupStates clip = editorPopupStates(false, true);
    EXPECT_TRUE(clip.paste);
    EXPECT_FALSE(clip.copy || clip.cut || clip.remove);
}

TEST(EditorRules, LayoutFollowsTheWindowSize) {
    EditorLayoutInput in;
    in.window = QSize(820, 600);
    in.top = 32;
    in.left = 4;
    in.listWidth = 200;
    in.statusBarHeight = 22;
    EditorLayout l = editorLayout(in);
    EXPECT_EQ(l.editor, QRect(4, 32, 820 - 200 - 30, 600 - 100));
    EXPECT_EQ(l.list, QRect(4 + 590 + 10, 32, 200, 500 - 30));
    EXPECT_EQ(l.statusBar, QRect(0, 600 - 50, 820, 22));

    // A window too small for the rules keeps usable controls, and the
    // status bar inside it.
    in.window = QSize(150, 90);
    l = editorLayout(in);
    EXPECT_GE(l.editor.width(), 100);
    EXPECT_GE(l.editor.height(), 60);
    EXPECT_GE(l.list.height(), 30);
    EXPECT_GE(l.statusBar.top(), 0);
    EXPECT_LE(l.statusBar.bottom(), 89);
    in.statusBarHeight = 70;  // taller than 50: it still ends inside the window
    EXPECT_EQ(editorLayout(in).statusBar.top(), 20);
}

TEST_F(Editing, AnUnchangedTemplateAsksNothing) {
    EXPECT_EQ(editing.saveIfChanged(), Check::Yes);
    EXPECT_TRUE(editing.close());
    EXPECT_TRUE(questions.asked().empty());
    EXPECT_TRUE(files.shown.empty());
    EXPECT_EQ(editing.caption(), QStringLiteral("Wzorzec formularza:  "));
}

TEST_F(Editing, ClosingWithChangesTakesEachAnswer) {
    openAndChange();
    EXPECT_EQ(editing.caption(), QStringLiteral("Wzorzec formularza:  ") + Saved);

    // Anuluj: the editor stays open with the changes.
    questions.answer(Answer::Cancel);
    EXPECT_FALSE(editing.close());
    EXPECT_EQ(questions.texts(Kind::ConfirmOrCancel), QStringList{QStringLiteral("Zapisać zmiany?")});
    EXPECT_EQ(doc.text, QStringLiteral("wzór zmiana"));
    EXPECT_TRUE(doc.modified);
    EXPECT_EQ(editing.fileName(), Saved);
    EXPECT_EQ(doc.files[Saved], QStringLiteral("wzór"));

    // Tak: written to its file without a dialog, then closed and emptied.
    questions.answer(Answer::Yes);
    EXPECT_TRUE(editing.close());
    EXPECT_TRUE(files.shown.empty());
    EXPECT_EQ(doc.files[Saved], QStringLiteral("wzór zmiana"));
    EXPECT_TRUE(doc.text.isEmpty());
    EXPECT_FALSE(doc.modified);
    EXPECT_TRUE(editing.fileName().isEmpty());

    // Nie: the changes are dropped.
    openAndChange();
    questions.answer(Answer::No);
    EXPECT_TRUE(editing.close());
    EXPECT_EQ(doc.files[Saved], QStringLiteral("wzór"));
    EXPECT_TRUE(doc.text.isEmpty());
    EXPECT_FALSE(doc.modified);
    EXPECT_EQ(editing.caption(), QStringLiteral("Wzorzec formularza:  "));
}

TEST_F(Editing, TakForANeverSavedTemplateRunsTheSaveDialog) {
    doc.type(QStringLiteral("nowy wzór"));
    questions.answer(Answer::Yes);
    files.answers = {Other};
    EXPECT_EQ(editing.saveIfChanged(), Check::Yes);
    ASSERT_EQ(files.shown.size(), 1u);
    EXPECT_TRUE(files.shown[0].save);
    EXPECT_EQ(files.shown[0].start, Dir);
    EXPECT_EQ(files.shown[0].filter, QStringLiteral("Wzorzec formularza (*.fmz)|*.fmz|Dowolny (*.*)|*.*"));
    EXPECT_EQ(files.shown[0].suffix, QStringLiteral("fmz"));
    EXPECT_EQ(doc.files[Other], QStringLiteral("nowy wzór"));
    EXPECT_EQ(editing.fileName(), Other);
    EXPECT_FALSE(doc.modified);
}

// Giving up the save dialog after Tak goes back to the editor with the
// changes rather than going on and losing them.
TEST_F(Editing, TakThenAGivenUpSaveDialogKeepsTheChanges) {
    doc.type(QStringLiteral("nowy wzór"));
    for (auto operation : {&TemplateEditing::close, &TemplateEditing::newTemplate, &TemplateEditing::open}) {
        questions.answer(Answer::Yes);
        files.shown.clear();
        EXPECT_FALSE((editing.*operation)());
        ASSERT_EQ(files.shown.size(), 1u);  // the save dialog, and no open dialog after it
        EXPECT_TRUE(files.shown[0].save);
        EXPECT_EQ(doc.text, QStringLiteral("nowy wzór"));
        EXPECT_TRUE(doc.modified);
        EXPECT_TRUE(editing.fileName().isEmpty());
    }
}

TEST_F(Editing, TakWithAFileThatCannotBeWrittenKeepsTheChanges) {
    openAndChange();
    doc.failing << Saved;
    questions.answer(Answer::Yes);
    EXPECT_FALSE(editing.close());
    EXPECT_EQ(questions.texts(Kind::Error), QStringList{QStringLiteral("Nie można zapisać pliku ") + Saved});
    EXPECT_EQ(doc.text, QStringLiteral("wzór zmiana"));
    EXPECT_TRUE(doc.modified);
    EXPECT_EQ(editing.fileName(), Saved);
}

TEST_F(Editing, NowyWithChanges) {
    openAndChange();
    questions.answer(Answer::Cancel);
    EXPECT_FALSE(editing.newTemplate());
    EXPECT_EQ(doc.text, QStringLiteral("wzór zmiana"));
    EXPECT_EQ(editing.fileName(), Saved);

    questions.answer(Answer::No);
    EXPECT_TRUE(editing.newTemplate());
    EXPECT_TRUE(doc.text.isEmpty());
    EXPECT_FALSE(doc.modified);
    EXPECT_TRUE(editing.fileName().isEmpty());
    EXPECT_EQ(doc.files[Saved], QStringLiteral("wzór"));
    EXPECT_TRUE(files.shown.empty());
}

TEST_F(Editing, OtworzWithChanges) {
    openAndChange();
    doc.files[Other] = QStringLiteral("inny");

    questions.answer(Answer::Cancel);
    EXPECT_FALSE(editing.open());
    EXPECT_TRUE(files.shown.empty());  // Anuluj: no dialog at all

    // Nie, then a dialog given up: the changed document stays as it is.
    questions.answer(Answer::No);
    EXPECT_FALSE(editing.open());
    ASSERT_EQ(files.shown.size(), 1u);
    EXPECT_FALSE(files.shown[0].save);
    EXPECT_EQ(files.shown[0].start, Dir);
    EXPECT_EQ(files.shown[0].filter, QStringLiteral("Wzorzec decyzji (*.fmz)|*.fmz|Dowolny (*.*)|*.*"));
    EXPECT_EQ(files.shown[0].suffix, QStringLiteral("fmz"));
    EXPECT_EQ(doc.text, QStringLiteral("wzór zmiana"));
    EXPECT_TRUE(doc.modified);

    // Tak saves into the current file, then the chosen one is loaded.
    questions.answer(Answer::Yes);
    files.answers = {Other};
    EXPECT_TRUE(editing.open());
    EXPECT_EQ(doc.files[Saved], QStringLiteral("wzór zmiana"));
    EXPECT_EQ(doc.text, QStringLiteral("inny"));
    EXPECT_FALSE(doc.modified);
    EXPECT_EQ(editing.fileName(), Other);
    EXPECT_EQ(editing.caption(), QStringLiteral("Wzorzec formularza:  ") + Other);
}

TEST_F(Editing, AFileErrorLeavesTheDocumentAndTheNameAsTheyWere) {
    openAndChange();
    const QString broken = QStringLiteral("/srv/varnel/baza/uszkodzony.fmz");
    doc.failing << broken;

    questions.answer(Answer::No);
    files.answers = {broken};
    EXPECT_FALSE(editing.open());
    EXPECT_EQ(questions.texts(Kind::Error), QStringList{QStringLiteral("Nie można odczytać pliku ") + broken});
    EXPECT_EQ(doc.text, QStringLiteral("wzór zmiana"));
    EXPECT_EQ(editing.fileName(), Saved);

    files.answers = {broken};
    EXPECT_FALSE(editing.save());
    EXPECT_EQ(questions.count(Kind::Error), 2);
    EXPECT_EQ(editing.fileName(), Saved);
    EXPECT_TRUE(doc.modified);
    EXPECT_FALSE(doc.files.contains(broken));
}

TEST_F(Editing, ZapiszFillsInTheCurrentNameAndTakesTheChosenOne) {
    openAndChange();
    files.answers = {QString()};
    EXPECT_FALSE(editing.save());  // given up: nothing written, still changed
    ASSERT_EQ(files.shown.size(), 1u);
    EXPECT_EQ(files.shown[0].start, Saved);
    EXPECT_TRUE(doc.modified);
    EXPECT_EQ(doc.files[Saved], QStringLiteral("wzór"));

    files.answers = {Other};
    EXPECT_TRUE(editing.save());
    EXPECT_EQ(doc.files[Other], QStringLiteral("wzór zmiana"));
    EXPECT_EQ(doc.files[Saved], QStringLiteral("wzór"));
    EXPECT_EQ(editing.fileName(), Other);
    EXPECT_FALSE(doc.modified);
    EXPECT_TRUE(questions.asked().empty());  // "Zapisz" asks nothing, even unchanged
}
