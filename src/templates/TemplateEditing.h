#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

class QWidget;

namespace varnel::core {
class Questions;
class FileDialogs;
}  // namespace varnel::core

namespace varnel::templates {

// The rules of the decision template editor (`TFormWzorDec`) that need no
// screen: its caption, the texts of its lists and status bar, the states of
// its pop-up menu, its layout, and the file operations with the
// save-if-changed check. The window binds its controls to them.

// "Wzorzec formularza:  " and the current file name (nothing after it for a
// template never saved).
QString editorCaption(const QString &fileName);

// The caret position in the first panel of the status bar: 1-based line and
// column, each right-aligned in three places ("Line:   3   Col:  12").
QString caretText(int line, int column);

// The placeholder names of the list `LBoxDane`: the 38 decision names,
// sorted as Polish is (Ł after L, not after Z).
QStringList editorFieldNames();

// The point sizes offered by "Rozmiar pisma", and the one selected when the
// window is made.
const QStringList &editorFontSizes();
inline const QString DefaultEditorFontSize = QStringLiteral("10");

// The question of the save-if-changed check.
inline const QString SaveChangesQuestion = QStringLiteral("Zapisać zmiany?");

// The items of the pop-up menu that can be used when it opens.
struct EditorPopupStates {
    bool copy = false;    // "Kopiuj"
    bool cut = false;     // "Wytnij"
    bool paste = false;   // "Wklej"
    bool remove = false;  // "Usuń"
    // "Zaznacz wszystko" can always be used.
};
EditorPopupStates editorPopupStates(bool hasSelection, bool clipboardHasText);

// Where the editor, the placeholder list and the status bar stand in the
// window (its client area, as every window of the program counts): the
// editor is the window's width less the list's width less 30 wide and the
// window's height less 100 high, the list stands 10 to the right of the
// editor and is 30 shorter, and the status bar's top stands 50 above the
// window's bottom. Nothing is made smaller than can still be used, and the
// status bar never leaves the window.
struct EditorLayout {
    QRect editor;
    QRect list;
    QRect statusBar;
};
struct EditorLayoutInput {
    QSize window;
    int top = 0;   // the editor's and the list's top, below the tool bar
    int left = 4;  // the editor's left edge
    int listWidth = 0;
    int statusBarHeight = 0;
};
EditorLayout editorLayout(const EditorLayoutInput &in);

// The document being edited, as the file operations see it. loadFile and
// saveFile throw TemplateFileError (templates/TemplateFile.h); a failed load
// leaves the document as it was.
class EditedTemplate {
public:
    virtual ~EditedTemplate() = default;
    virtual bool isModified() const = 0;
    virtual void setModified(bool modified) = 0;
    // An empty document in the editor's default font.
    virtual void clear() = 0;
    virtual void loadFile(const QString &path) = 0;
    virtual void saveFile(const QString &path) = 0;
};

// The template editor's file operations: the current file name, "Nowy",
// "Otwórz", "Zapisz", closing, and the save-if-changed check before the
// first, second and last. The dialogs open in `directory` (the database
// directory); a file error is told with its message and leaves the document
// and the file name as they were.
class TemplateEditing {
public:
    enum class Check { Yes, No, Cancel };

    TemplateEditing(EditedTemplate &document, core::Questions &questions, core::FileDialogs &files,
                    QString directory, QWidget *dialogParent = nullptr);

    const QString &fileName() const { return m_fileName; }
    QString caption() const { return editorCaption(m_fileName); }

    // The save-if-changed check. Unchanged: Yes, asking nothing. Otherwise
    // "Zapisać zmiany?" with Tak / Nie / Anuluj: Nie is No, Anuluj is Cancel;
    // Tak writes the document to its file, or for a template never saved
    // runs "Zapisz", and is Yes once it is written. A save dialog given up
    // or a file that could not be written is Cancel: the user is back in
    // the editor with the changes kept.
    Check saveIfChanged();

    // "Nowy": after the check (not cancelled), an empty document without a
    // file name. False when nothing was done.
    bool newTemplate();
    // "Otwórz": after the check, the open dialog; the chosen file is loaded
    // and becomes the current file. False when nothing was loaded.
    bool open();
    // "Zapisz": the save dialog with the current file name filled in; the
    // document is written to the chosen file, which becomes the current
    // one. False when nothing was written.
    bool save();
    // Closing the editor: after the check, an empty document without a file
    // name. False when the editor is to stay open.
    bool close();

private:
    bool write(const QString &path);

    EditedTemplate &m_document;
    core::Questions &m_questions;
    core::FileDialogs &m_files;
    QString m_directory;
    QWidget *m_dialogParent;
    QString m_fileName;
};

}  // namespace varnel::templates
