#include "templates/windows/TFormWzorDec.h"

#include "core/Questions.h"
#include "data/Database.h"
#include "templates/RichText.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QStatusBar>
#include <QStyle>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>

namespace varnel::templates {

namespace {

constexpr int ToolIconSize = 16;

// Four lines of text lined up left, centred or right.
QIcon alignmentIcon(Qt::Alignment alignment, const QColor &color) {
    QPixmap pixmap(ToolIconSize, ToolIconSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(QPen(color, 2));
    const int lengths[] = {14, 9, 14, 9};
    for (int i = 0; i < 4; ++i) {
        const int w = lengths[i];
        const int x = alignment == Qt::AlignLeft ? 1 : alignment == Qt::AlignRight ? 15 - w : (16 - w) / 2;
        const int y = 2 + i * 4;
        p.drawLine(x, y, x + w - 1, y);
    }
    return QIcon(pixmap);
}

QToolButton *toolButton(QToolBar *bar, const char *name, const QString &hint) {
    auto *b = new QToolButton(bar);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(hint);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    bar->addWidget(b);
    return b;
}

// A style button shows its letter in its own style.
void letterFace(QToolButton *b, const QString &letter, void (QFont::*style)(bool)) {
    b->setText(letter);
    QFont f = b->font();
    (f.*style)(true);
    b->setFont(f);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    b->setMinimumWidth(24);
}

}  // namespace

TFormWzorDec::TFormWzorDec(core::Context &ctx, QWidget *parent)
    : QDialog(parent), m_ctx(ctx), m_text(new QTextDocument(this)), m_document(*m_text),
      m_editing(m_document, ctx.questions, ctx.files, ctx.db.directory(), this) {
    setObjectName(QStringLiteral("FormWzorDec"));
    setModal(true);
    setSizeGripEnabled(true);

    buildToolBar();

    REdit = new QTextEdit(this);
    REdit->setObjectName(QStringLiteral("REdit"));
    REdit->setDocument(m_text);
    REdit->setAcceptRichText(true);
    REdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    REdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    REdit->setContextMenuPolicy(Qt::CustomContextMenu);
    // The selection stays visible when the focus goes to the list or the
    // tool bar (a placeholder replaces it there).
    QPalette palette = REdit->palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    REdit->setPalette(palette);

    LBoxDane = new QListWidget(this);
    LBoxDane->setObjectName(QStringLiteral("LBoxDane"));
    LBoxDane->addItems(editorFieldNames());
    LBoxDane->setDragEnabled(false);
    LBoxDane->setSelectionMode(QAbstractItemView::SingleSelection);
    int listWidth = 0;
    for (const QString &name : editorFieldNames())
        listWidth = std::max(listWidth, LBoxDane->fontMetrics().horizontalAdvance(name));
    LBoxDane->resize(listWidth + LBoxDane->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 16, 100);

    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setSizeGripEnabled(false);
    const int panelWidths[] = {180, 180, 0};
    for (int i = 0; i < 3; ++i) {
        StatusPanel[i] = new QLabel(StatusBar);
        StatusPanel[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        StatusPanel[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        if (panelWidths[i] > 0)
            StatusPanel[i]->setMinimumWidth(panelWidths[i]);
        StatusBar->addWidget(StatusPanel[i], panelWidths[i] > 0 ? 0 : 1);
    }

    buildPopupMenu();

    connect(REdit, &QTextEdit::cursorPositionChanged, this, [this] { REditSelectionChange(); });
    connect(REdit, &QTextEdit::selectionChanged, this, [this] { REditSelectionChange(); });
    // A change of size or font moves the caret to another line as well.
    connect(m_text, &QTextDocument::contentsChanged, this, [this] { REditSelectionChange(); });
    connect(REdit, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { PopupMenu->exec(REdit->viewport()->mapToGlobal(pos)); });
    connect(LBoxDane, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem *item) { LBoxDaneDblClick(item); });

    // Made once: the fonts of the screen, size 10, no file, nothing changed.
    m_document.setDefaultFont(editorDefaultFont());
    m_document.clear();
    updateCaption();
    REditSelectionChange();
    setMinimumSize(LBoxDane->width() + 240, 320);
    resize(820, 600);
}

TFormWzorDec::~TFormWzorDec() = default;

void TFormWzorDec::buildToolBar() {
    ToolBar = new QToolBar(this);
    ToolBar->setObjectName(QStringLiteral("ToolBar"));
    ToolBar->setIconSize(QSize(ToolIconSize, ToolIconSize));
    ToolBar->setMovable(false);

    NewButton = toolButton(ToolBar, "NewButton", QStringLiteral("Nowy"));
    NewButton->setIcon(style()->standardIcon(QStyle::SP_FileIcon));
    OpenButton = toolButton(ToolBar, "OpenButton", QStringLiteral("Otwórz"));
    OpenButton->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    SaveButton = toolButton(ToolBar, "SaveButton", QStringLiteral("Zapisz"));
    SaveButton->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    ToolBar->addSeparator();

    FontName = new QComboBox(ToolBar);
    FontName->setObjectName(QStringLiteral("FontName"));
    FontName->setToolTip(QStringLiteral("Krój pisma"));
    FontName->addItems(doc::screenFontFamilies());
    FontName->setCurrentIndex(-1);  // no font until the user picks one
    FontName->setMinimumContentsLength(22);
    FontName->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    ToolBar->addWidget(FontName);

    CBoxFontSize = new QComboBox(ToolBar);
    CBoxFontSize->setObjectName(QStringLiteral("CBoxFontSize"));
    CBoxFontSize->setToolTip(QStringLiteral("Rozmiar pisma"));
    CBoxFontSize->addItems(editorFontSizes());
    CBoxFontSize->setCurrentIndex(static_cast<int>(editorFontSizes().indexOf(DefaultEditorFontSize)));
    CBoxFontSize->setMaxVisibleItems(static_cast<int>(editorFontSizes().size()));
    ToolBar->addWidget(CBoxFontSize);
    ToolBar->addSeparator();

    BoldButton = toolButton(ToolBar, "BoldButton", QStringLiteral("Wytłuszczone"));
    letterFace(BoldButton, QStringLiteral("B"), &QFont::setBold);
    ItalicButton = toolButton(ToolBar, "ItalicButton", QStringLiteral("Pochyłe"));
    letterFace(ItalicButton, QStringLiteral("I"), &QFont::setItalic);
    UnderlineButton = toolButton(ToolBar, "UnderlineButton", QStringLiteral("Podkreślone"));
    letterFace(UnderlineButton, QStringLiteral("U"), &QFont::setUnderline);
    for (QToolButton *b : {BoldButton, ItalicButton, UnderlineButton})
        b->setCheckable(true);
    ToolBar->addSeparator();

    const QColor ink = palette().color(QPalette::WindowText);
    LeftAlign = toolButton(ToolBar, "LeftAlign", QStringLiteral("Do lewej"));
    LeftAlign->setIcon(alignmentIcon(Qt::AlignLeft, ink));
    CenterAlign = toolButton(ToolBar, "CenterAlign", QStringLiteral("Centruj"));
    CenterAlign->setIcon(alignmentIcon(Qt::AlignHCenter, ink));
    RightAlign = toolButton(ToolBar, "RightAlign", QStringLiteral("Do prawej"));
    RightAlign->setIcon(alignmentIcon(Qt::AlignRight, ink));
    m_alignGroup = new QButtonGroup(this);
    m_alignGroup->setExclusive(true);
    for (QToolButton *b : {LeftAlign, CenterAlign, RightAlign}) {
        b->setCheckable(true);
        m_alignGroup->addButton(b);
    }
    LeftAlign->setChecked(true);

    connect(NewButton, &QToolButton::clicked, this, [this] { NewButtonClick(); });
    connect(OpenButton, &QToolButton::clicked, this, [this] { OpenButtonClick(); });
    connect(SaveButton, &QToolButton::clicked, this, [this] { SaveButtonClick(); });
    connect(FontName, &QComboBox::activated, this, [this] { FontNameChange(); });
    connect(CBoxFontSize, &QComboBox::activated, this, [this] { CBoxFontSizeChange(); });
    for (QToolButton *b : {BoldButton, ItalicButton, UnderlineButton})
        connect(b, &QToolButton::clicked, this, [this] { StyleButtonClick(); });
    connect(LeftAlign, &QToolButton::clicked, this, [this] { AlignButtonClick(Qt::AlignLeft); });
    connect(CenterAlign, &QToolButton::clicked, this, [this] { AlignButtonClick(Qt::AlignHCenter); });
    connect(RightAlign, &QToolButton::clicked, this, [this] { AlignButtonClick(Qt::AlignRight); });
}

void TFormWzorDec::buildPopupMenu() {
    PopupMenu = new QMenu(this);
    PopupMenu->setObjectName(QStringLiteral("PopupMenu"));
    auto item = [this](const char *name, const QString &caption, void (QTextEdit::*slot)()) {
        QAction *a = PopupMenu->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, REdit, slot);
        return a;
    };
    PMnuKopiuj = item("PMnuKopiuj", QStringLiteral("Kopiuj"), &QTextEdit::copy);
    PMnuWytnij = item("PMnuWytnij", QStringLiteral("Wytnij"), &QTextEdit::cut);
    PMnuWklej = item("PMnuWklej", QStringLiteral("Wklej"), &QTextEdit::paste);
    PopupMenu->addSeparator();
    PMnuZaznaczWszystko = item("PMnuZaznaczWszystko", QStringLiteral("Zaznacz wszystko"), &QTextEdit::selectAll);
    PMnuUsun = PopupMenu->addAction(QStringLiteral("Usuń"));
    PMnuUsun->setObjectName(QStringLiteral("PMnuUsun"));
    connect(PMnuUsun, &QAction::triggered, this, [this] { REdit->textCursor().removeSelectedText(); });
    connect(PopupMenu, &QMenu::aboutToShow, this, [this] { PopupMenuPopup(); });
}

QFont TFormWzorDec::editorDefaultFont() const {
    QFont font(FontName->currentText().isEmpty() ? RichText().defaultFont : FontName->currentText());
    const double size = CBoxFontSize->currentText().toDouble();
    font.setPointSizeF(size > 0 ? size : DefaultEditorFontSize.toDouble());
    return font;
}

void TFormWzorDec::updateCaption() { setWindowTitle(m_editing.caption()); }

void TFormWzorDec::run() {
    FormShow();
    exec();
}

void TFormWzorDec::FormShow() {
    // The document is empty here: the window starts with one and closing
    // empties it.
    m_document.setDefaultFont(editorDefaultFont());
    if (m_text->isEmpty()) {
        m_text->setDefaultFont(m_document.defaultFont());
        m_text->setModified(false);
    }
    updateCaption();
    REditSelectionChange();
    REdit->setFocus();
}

void TFormWzorDec::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    FormResize();
}

void TFormWzorDec::NewButtonClick() {
    m_document.setDefaultFont(editorDefaultFont());
    m_editing.newTemplate();
    updateCaption();
    REdit->setFocus();
}

void TFormWzorDec::OpenButtonClick() {
    if (m_editing.open())
        REdit->moveCursor(QTextCursor::Start);
    updateCaption();
    REdit->setFocus();
}

void TFormWzorDec::SaveButtonClick() {
    m_editing.save();
    updateCaption();
    REdit->setFocus();
}

void TFormWzorDec::FontNameChange() {
    QTextCursor c = REdit->textCursor();
    doc::setSelectionFontFamily(c, FontName->currentText());
}

void TFormWzorDec::CBoxFontSizeChange() {
    QTextCursor c = REdit->textCursor();
    doc::setSelectionPointSize(c, CBoxFontSize->currentText().toDouble());
}

void TFormWzorDec::StyleButtonClick() {
    QTextCursor c = REdit->textCursor();
    doc::setSelectionStyles(c, BoldButton->isChecked(), ItalicButton->isChecked(), UnderlineButton->isChecked());
}

void TFormWzorDec::AlignButtonClick(Qt::Alignment alignment) { REdit->setAlignment(alignment); }

void TFormWzorDec::LBoxDaneDblClick(QListWidgetItem *item) {
    if (!item)
        return;
    QTextCursor c = REdit->textCursor();
    doc::insertPlaceholder(c, item->text());
    REdit->setTextCursor(c);
    REdit->setFocus();
}

void TFormWzorDec::REditSelectionChange() {
    const doc::CaretPlace place = doc::caretPlace(*m_text, REdit->textCursor().position());
    StatusPanel[0]->setText(caretText(place.line, place.column));
}

void TFormWzorDec::PopupMenuPopup() {
    const QMimeData *clip = QApplication::clipboard()->mimeData();
    const EditorPopupStates s = editorPopupStates(REdit->textCursor().hasSelection(), clip && clip->hasText());
    PMnuKopiuj->setEnabled(s.copy);
    PMnuWytnij->setEnabled(s.cut);
    PMnuWklej->setEnabled(s.paste);
    PMnuUsun->setEnabled(s.remove);
}

void TFormWzorDec::contextMenuEvent(QContextMenuEvent *event) { PopupMenu->exec(event->globalPos()); }

void TFormWzorDec::reject() {
    if (!m_editing.close())
        return;  // Anuluj, or a save that did not happen: the window stays
    updateCaption();
    QDialog::reject();
}

// The window has no cancel button: Esc does not close it.
void TFormWzorDec::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFormWzorDec::resizeEvent(QResizeEvent *event) {
    QDialog::resizeEvent(event);
    FormResize();
}

void TFormWzorDec::FormResize() {
    ToolBar->setGeometry(0, 0, width(), ToolBar->sizeHint().height());
    EditorLayoutInput in;
    in.window = size();
    in.top = ToolBar->height() + 2;
    in.listWidth = LBoxDane->width();
    in.statusBarHeight = StatusBar->sizeHint().height();
    const EditorLayout layout = editorLayout(in);
    REdit->setGeometry(layout.editor);
    LBoxDane->setGeometry(layout.list);
    StatusBar->setGeometry(layout.statusBar);
}

}  // namespace varnel::templates
