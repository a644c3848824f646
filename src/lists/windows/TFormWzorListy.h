#pragma once

#include "lists/ListTemplate.h"
#include "lists/TemplateEditing.h"

#include <QDialog>
#include <QStringList>

class QAction;
class QComboBox;
class QLabel;
class QListWidget;
class QMenu;
class QModelIndex;
class QPlainTextEdit;
class QTableView;
class QToolButton;

namespace varnel::core {
struct Context;
}

namespace varnel::lists {

class ColumnGridModel;

// The list template editor ("Wzory wydruków" › "Listy"): the header lines
// with their font and spacing, the columns with the row font and spacing,
// kept in *.lsa files. Two sections, the header and the rows, share one
// tool bar of face, size and styles: the section clicked or entered last is
// active, shown white and raised with bold labels (the other silver and
// flat), and the tool bar edits its font. Columns are added by a double
// click on a data item, totalled or not by a double click in "Sumować",
// widened by typing into "Długość" and deleted from the grid's context menu.
//
// The window keeps its columns itself, so that the printing window or
// another workstation loading a template never changes what is being
// edited here. It is made once for the run and shown modally each time.
class TFormWzorListy : public QDialog {
    Q_OBJECT
public:
    enum class Section { Header, Rows };

    // faces: the faces offered (by default the faces installed for the
    // screen); substitute: the face the system draws a face name with (by
    // default the system's own font matching).
    explicit TFormWzorListy(core::Context &context, QWidget *parent = nullptr, QStringList faces = {},
                            FaceSubstitute substitute = {});
    ~TFormWzorListy() override;

    // Shows the window modally on an empty template.
    int ShowModal();

    // Handlers.
    void FormShow();
    bool OpenButtonClick();
    bool SaveButtonClick();
    void LBoxDaneDblClick(const QString &item);
    void DBGridLineDefDblClick(const QModelIndex &index);
    void UsupozycjeClick();
    void ChangeAttrib();
    // Asks "Zapisać zmiany?" when the template was changed and saves on Yes.
    // False when the save asked for did not happen (the dialog was given up
    // or the file could not be written): what the user was doing stops, so
    // that nothing is lost.
    bool ZapiszJesliZmiany();

    void activate(Section section);
    Section activeSection() const { return m_active; }

    // The template as the window holds it.
    ListTemplate currentTemplate() const;
    QString currentFile() const { return m_file; }
    bool isModified() const { return m_modified; }
    ListFont headerFont() const { return m_headerFont; }
    ListFont rowFont() const { return m_rowFont; }

    QToolButton *OpenButton = nullptr;
    QToolButton *SaveButton = nullptr;
    QComboBox *CBoxFontName = nullptr;
    QComboBox *CBoxFontSize = nullptr;
    QToolButton *BoldButton = nullptr;
    QToolButton *ItalicButton = nullptr;
    QToolButton *UnderlineButton = nullptr;
    QLabel *LabelNagl = nullptr;
    QLabel *LabelOdstepNagl = nullptr;
    QPlainTextEdit *MemoNagl = nullptr;
    QComboBox *CBoxOdstepNagl = nullptr;
    QLabel *LabelLinia = nullptr;
    QLabel *LabelOdstepLinia = nullptr;
    QTableView *DBGridLineDef = nullptr;
    QComboBox *CBoxOdstepLinia = nullptr;
    QListWidget *LBoxDane = nullptr;
    QMenu *PopupMenuGrid = nullptr;
    QAction *Usupozycje = nullptr;
    ColumnGridModel *columnModel() const { return m_columns; }

    static const QString OpenFilter;  // "Wzorzec listy (*.lsa)|*.lsa|Dowolny (*.*)|*.*"
    static const QString SaveFilter;  // "Wzorzec formularza (*.lsa)|*.lsa|Dowolny (*.*)|*.*"

public slots:
    // Esc, the close button and every other way of closing: FormClose,
    // which may keep the window open.
    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildToolBar();
    void buildSections();
    void loadToolBar(const ListFont &font);
    ToolBarState toolBarState() const;
    void showFonts();
    void showSectionLook();
    void setCaptionFor(const QString &path);
    void setModified() { m_modified = true; }
    bool FormClose();

    core::Context &m_ctx;
    QStringList m_faces;
    FaceSubstitute m_substitute;
    ColumnGridModel *m_columns = nullptr;
    Section m_active = Section::Header;
    ListFont m_headerFont;
    ListFont m_rowFont;
    QString m_file;
    bool m_modified = false;
    bool m_loading = false;  // the window itself fills its controls
};

}  // namespace varnel::lists
