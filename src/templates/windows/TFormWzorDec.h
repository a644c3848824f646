#pragma once

#include "core/Context.h"
#include "templates/TemplateEditing.h"
#include "templates/doc/TemplateEditorDocument.h"

#include <QDialog>

class QAction;
class QButtonGroup;
class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QStatusBar;
class QTextDocument;
class QTextEdit;
class QToolBar;
class QToolButton;

namespace varnel::templates {

// The decision template editor, "Wzory wydruków" › "Formularze": a small
// rich-text editor of decision templates (*.fmz, RTF) with the sorted list
// of placeholder names beside it. Made once and kept for the run; shown
// modally. It never touches the tables.
//
// The file operations and the save-if-changed check are TemplateEditing's,
// the work on the document TemplateEditorDocument's; this window binds the
// controls to them.
class TFormWzorDec : public QDialog {
    Q_OBJECT
public:
    explicit TFormWzorDec(core::Context &ctx, QWidget *parent = nullptr);
    ~TFormWzorDec() override;

    // Shows the window modally until it is closed.
    void run();

    // Showing: the editor's default font from "Krój pisma" (the template's
    // default before the user picks one) and "Rozmiar pisma".
    void FormShow();
    // The handlers of the controls.
    void NewButtonClick();
    void OpenButtonClick();
    void SaveButtonClick();
    void FontNameChange();
    void CBoxFontSizeChange();
    void StyleButtonClick();
    void AlignButtonClick(Qt::Alignment alignment);
    void LBoxDaneDblClick(QListWidgetItem *item);
    void REditSelectionChange();
    // The pop-up menu's items enabled as the selection and clipboard allow.
    void PopupMenuPopup();
    void FormResize();

    const TemplateEditing &editing() const { return m_editing; }

    QToolBar *ToolBar;
    QToolButton *NewButton;
    QToolButton *OpenButton;
    QToolButton *SaveButton;
    QComboBox *FontName;
    QComboBox *CBoxFontSize;
    QToolButton *BoldButton;
    QToolButton *ItalicButton;
    QToolButton *UnderlineButton;
    QToolButton *LeftAlign;
    QToolButton *CenterAlign;
    QToolButton *RightAlign;
    QTextEdit *REdit;
    QListWidget *LBoxDane;
    QStatusBar *StatusBar;
    QLabel *StatusPanel[3];
    QMenu *PopupMenu;
    QAction *PMnuKopiuj;
    QAction *PMnuWytnij;
    QAction *PMnuWklej;
    QAction *PMnuZaznaczWszystko;
    QAction *PMnuUsun;

public slots:
    // Closing runs the save-if-changed check; Anuluj keeps the window open.
    void reject() override;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void buildToolBar();
    void buildPopupMenu();
    void updateCaption();
    QFont editorDefaultFont() const;

    core::Context &m_ctx;
    QButtonGroup *m_alignGroup = nullptr;
    QTextDocument *m_text;  // the editor's document, owned by the window
    doc::TemplateEditorDocument m_document;
    TemplateEditing m_editing;
};

}  // namespace varnel::templates
