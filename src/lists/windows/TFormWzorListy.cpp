#include "lists/windows/TFormWzorListy.h"

#include "core/Context.h"
#include "core/FileDialogs.h"
#include "core/Questions.h"
#include "data/Database.h"
#include "lists/ListItems.h"
#include "lists/doc/ListPrint.h"
#include "lists/windows/ColumnGrid.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QStyle>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace varnel::lists {

const QString TFormWzorListy::OpenFilter = QStringLiteral("Wzorzec listy (*.lsa)|*.lsa|Dowolny (*.*)|*.*");
const QString TFormWzorListy::SaveFilter = QStringLiteral("Wzorzec formularza (*.lsa)|*.lsa|Dowolny (*.*)|*.*");

namespace {

const QString Caption = QStringLiteral("Wzorzec listy:  ");
const QColor Silver(0xC0, 0xC0, 0xC0);

// The face the system draws a face name with, unless that is only its
// default face for names it does not know.
QString systemSubstitute(const QString &face) {
    static const QString fallback = QFontInfo(QFont(QStringLiteral("Varnel-no-such-face"))).family();
    const QString drawn = QFontInfo(QFont(face)).family();
    return drawn == fallback ? QString() : drawn;
}

}  // namespace

TFormWzorListy::TFormWzorListy(core::Context &context, QWidget *parent, QStringList faces, FaceSubstitute substitute)
    : QDialog(parent), m_ctx(context), m_faces(std::move(faces)), m_substitute(std::move(substitute)) {
    setObjectName(QStringLiteral("FormWzorListy"));
    setModal(true);
    // FormCreate.
    if (m_faces.isEmpty())
        m_faces = QFontDatabase::families();
    if (!m_substitute)
        m_substitute = systemSubstitute;
    m_columns = new ColumnGridModel(this);
    m_columns->setEditable(true);

    auto *layout = new QVBoxLayout(this);
    buildToolBar();
    auto *bar = new QHBoxLayout;
    bar->addWidget(OpenButton);
    bar->addWidget(SaveButton);
    bar->addSpacing(12);
    bar->addWidget(CBoxFontName, 1);
    bar->addWidget(CBoxFontSize);
    bar->addSpacing(12);
    bar->addWidget(BoldButton);
    bar->addWidget(ItalicButton);
    bar->addWidget(UnderlineButton);
    bar->addStretch();
    layout->addLayout(bar);
    buildSections();

    m_loading = true;
    CBoxFontName->addItems(m_faces);
    const QString standard = QFontInfo(font()).family();
    const int face = CBoxFontName->findText(standard, Qt::MatchFixedString);
    CBoxFontName->setCurrentIndex(face >= 0 ? face : 0);
    CBoxFontSize->setCurrentText(QStringLiteral("10"));
    CBoxOdstepNagl->addItems(spacingLabels());
    CBoxOdstepLinia->addItems(spacingLabels());
    m_loading = false;
    m_headerFont = fontOf(toolBarState());
    m_rowFont = m_headerFont;
    setWindowTitle(Caption);
    resize(780, 560);
}

TFormWzorListy::~TFormWzorListy() = default;

void TFormWzorListy::buildToolBar() {
    auto tool = [this](const char *name, const QString &hint) {
        auto *b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(hint);
        b->setAutoRaise(true);
        return b;
    };
    OpenButton = tool("OpenButton", QStringLiteral("Otwórz"));
    OpenButton->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    SaveButton = tool("SaveButton", QStringLiteral("Zapisz"));
    SaveButton->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    auto styleButton = [&](const char *name, const QString &hint, const QString &letter, void (QFont::*set)(bool)) {
        QToolButton *b = tool(name, hint);
        b->setText(letter);
        b->setCheckable(true);
        QFont f = b->font();
        (f.*set)(true);
        b->setFont(f);
        connect(b, &QToolButton::clicked, this, [this] { ChangeAttrib(); });
        return b;
    };
    BoldButton = styleButton("BoldButton", QStringLiteral("Wytłuszczone"), QStringLiteral("B"), &QFont::setBold);
    ItalicButton = styleButton("ItalicButton", QStringLiteral("Pochyłe"), QStringLiteral("I"), &QFont::setItalic);
    UnderlineButton = styleButton("UnderlineButton", QStringLiteral("Podkreślone"), QStringLiteral("U"), &QFont::setUnderline);

    CBoxFontName = new QComboBox(this);
    CBoxFontName->setObjectName(QStringLiteral("CBoxFontName"));
    CBoxFontName->setToolTip(QStringLiteral("Krój pisma"));
    CBoxFontName->setMinimumContentsLength(20);
    CBoxFontSize = new QComboBox(this);
    CBoxFontSize->setObjectName(QStringLiteral("CBoxFontSize"));
    CBoxFontSize->setToolTip(QStringLiteral("Rozmiar pisma"));
    for (int size : offeredFontSizes())
        CBoxFontSize->addItem(QString::number(size));
    connect(CBoxFontName, &QComboBox::activated, this, [this] { ChangeAttrib(); });
    connect(CBoxFontSize, &QComboBox::activated, this, [this] { ChangeAttrib(); });

    connect(OpenButton, &QToolButton::clicked, this, [this] { OpenButtonClick(); });
    connect(SaveButton, &QToolButton::clicked, this, [this] { SaveButtonClick(); });
}

void TFormWzorListy::buildSections() {
    auto *grid = new QGridLayout;
    static_cast<QVBoxLayout *>(layout())->addLayout(grid, 1);
    auto label = [this](const char *name, const QString &text) {
        auto *l = new QLabel(text, this);
        l->setObjectName(QString::fromLatin1(name));
        return l;
    };
    auto spacing = [this](const char *name) {
        auto *c = new QComboBox(this);
        c->setObjectName(QString::fromLatin1(name));
        c->installEventFilter(this);
        // A spacing chosen is a change of the template to be saved.
        connect(c, &QComboBox::activated, this, [this] { setModified(); });
        return c;
    };

    LabelNagl = label("LabelNagl", QStringLiteral("Nagłówek listy:"));
    MemoNagl = new QPlainTextEdit(this);
    MemoNagl->setObjectName(QStringLiteral("MemoNagl"));
    MemoNagl->setLineWrapMode(QPlainTextEdit::NoWrap);
    MemoNagl->setAutoFillBackground(true);
    MemoNagl->installEventFilter(this);
    MemoNagl->viewport()->installEventFilter(this);
    connect(MemoNagl, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_loading)
            setModified();
    });
    LabelOdstepNagl = label("LabelOdstepNagl", QStringLiteral("Odstęp:"));
    CBoxOdstepNagl = spacing("CBoxOdstepNagl");

    LabelLinia = label("LabelLinia", QStringLiteral("Zawartość linii:"));
    DBGridLineDef = new QTableView(this);
    DBGridLineDef->setObjectName(QStringLiteral("DBGridLineDef"));
    setUpColumnGrid(DBGridLineDef, m_columns);
    DBGridLineDef->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGridLineDef->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                   QAbstractItemView::AnyKeyPressed);
    DBGridLineDef->setAutoFillBackground(true);
    DBGridLineDef->installEventFilter(this);
    DBGridLineDef->setContextMenuPolicy(Qt::CustomContextMenu);
    PopupMenuGrid = new QMenu(DBGridLineDef);
    Usupozycje = PopupMenuGrid->addAction(QStringLiteral("Usuń pozycję"));
    Usupozycje->setObjectName(QStringLiteral("Usupozycje"));
    connect(Usupozycje, &QAction::triggered, this, [this] { UsupozycjeClick(); });
    connect(DBGridLineDef, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        const QModelIndex at = DBGridLineDef->indexAt(pos);
        if (at.isValid())
            DBGridLineDef->setCurrentIndex(at);
        PopupMenuGrid->popup(DBGridLineDef->viewport()->mapToGlobal(pos));
    });
    connect(DBGridLineDef, &QTableView::doubleClicked, this,
            [this](const QModelIndex &index) { DBGridLineDefDblClick(index); });
    connect(m_columns, &ColumnGridModel::widthEdited, this, [this] { setModified(); });
    // Told once the grid's editor has closed.
    connect(m_columns, &ColumnGridModel::refused, this,
            [this](const QString &message) { m_ctx.questions.inform(message); }, Qt::QueuedConnection);
    LabelOdstepLinia = label("LabelOdstepLinia", QStringLiteral("Odstęp:"));
    CBoxOdstepLinia = spacing("CBoxOdstepLinia");

    LBoxDane = new QListWidget(this);
    LBoxDane->setObjectName(QStringLiteral("LBoxDane"));
    LBoxDane->addItems(listItems());
    LBoxDane->setToolTip(QStringLiteral("Dwukrotne kliknięcie dodaje kolumnę"));
    connect(LBoxDane, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *item) { LBoxDaneDblClick(item->text()); });

    auto spacingRow = [](QLabel *l, QComboBox *c) {
        auto *row = new QHBoxLayout;
        row->addWidget(l);
        row->addWidget(c);
        row->addStretch();
        return row;
    };
    grid->addWidget(LabelNagl, 0, 0);
    grid->addWidget(MemoNagl, 1, 0);
    grid->addLayout(spacingRow(LabelOdstepNagl, CBoxOdstepNagl), 2, 0);
    grid->addWidget(LabelLinia, 3, 0);
    grid->addWidget(DBGridLineDef, 4, 0);
    grid->addLayout(spacingRow(LabelOdstepLinia, CBoxOdstepLinia), 5, 0);
    grid->addWidget(label("LabelDane", QStringLiteral("Dane:")), 0, 1);
    grid->addWidget(LBoxDane, 1, 1, 5, 1);
    grid->setRowStretch(1, 2);
    grid->setRowStretch(4, 3);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 1);
}

int TFormWzorListy::ShowModal() {
    FormShow();
    return exec();
}

void TFormWzorListy::FormShow() {
    m_loading = true;
    const ToolBarState bar = toolBarState();
    m_headerFont.name = bar.face;
    m_headerFont.size = bar.size;
    MemoNagl->clear();
    CBoxOdstepNagl->setCurrentIndex(1);
    CBoxOdstepLinia->setCurrentIndex(1);
    m_columns->setColumns({});
    m_loading = false;
    m_file.clear();
    setWindowTitle(Caption);
    showFonts();
    activate(Section::Header);
    m_modified = false;
}

// ---------------------------------------------------------------------------
// Sections and the tool bar

ToolBarState TFormWzorListy::toolBarState() const {
    ToolBarState s;
    s.face = CBoxFontName->currentText();
    s.size = CBoxFontSize->currentText().toInt();
    s.bold = BoldButton->isChecked();
    s.italic = ItalicButton->isChecked();
    s.underline = UnderlineButton->isChecked();
    return s;
}

void TFormWzorListy::loadToolBar(const ListFont &font) {
    const ToolBarLoading loading = lists::loadToolBar(font, m_faces, m_substitute);
    m_loading = true;
    BoldButton->setChecked(loading.state.bold);
    ItalicButton->setChecked(loading.state.italic);
    UnderlineButton->setChecked(loading.state.underline);
    CBoxFontSize->setCurrentText(QString::number(loading.state.size));
    CBoxFontName->setCurrentIndex(CBoxFontName->findText(loading.state.face, Qt::MatchFixedString));
    m_loading = false;
    for (const QString &m : loading.messages)
        m_ctx.questions.inform(m);
}

void TFormWzorListy::activate(Section section) {
    m_active = section;
    showSectionLook();
    loadToolBar(section == Section::Header ? m_headerFont : m_rowFont);
}

void TFormWzorListy::showSectionLook() {
    const bool header = m_active == Section::Header;
    auto look = [](QFrame *area, QComboBox *spacing, QLabel *title, QLabel *spacingLabel, bool active) {
        QPalette p = area->palette();
        p.setColor(QPalette::Base, active ? QColor(Qt::white) : Silver);
        area->setPalette(p);
        area->setFrameShape(QFrame::Panel);
        area->setFrameShadow(active ? QFrame::Raised : QFrame::Plain);
        QPalette sp = spacing->palette();
        sp.setColor(QPalette::Base, active ? QColor(Qt::white) : Silver);
        sp.setColor(QPalette::Button, active ? QColor(Qt::white) : Silver);
        spacing->setPalette(sp);
        spacing->setFrame(active);
        for (QLabel *l : {title, spacingLabel}) {
            QFont f = l->font();
            f.setBold(active);
            l->setFont(f);
        }
    };
    look(MemoNagl, CBoxOdstepNagl, LabelNagl, LabelOdstepNagl, header);
    look(DBGridLineDef, CBoxOdstepLinia, LabelLinia, LabelOdstepLinia, !header);
}

void TFormWzorListy::ChangeAttrib() {
    if (m_loading)
        return;
    const ListFont font = fontOf(toolBarState());
    ListFont &target = m_active == Section::Header ? m_headerFont : m_rowFont;
    if (target == font)
        return;
    target = font;
    // A font chosen is a change of the template to be saved.
    setModified();
    showFonts();
}

void TFormWzorListy::showFonts() {
    MemoNagl->setFont(listFont(m_headerFont));
    const QFont rows = listFont(m_rowFont);
    DBGridLineDef->setFont(rows);
    DBGridLineDef->horizontalHeader()->setFont(font());
    DBGridLineDef->verticalHeader()->setDefaultSectionSize(QFontMetrics(rows).height() + 6);
}

bool TFormWzorListy::eventFilter(QObject *watched, QEvent *event) {
    const bool entered = event->type() == QEvent::FocusIn;
    const bool clicked = event->type() == QEvent::MouseButtonPress;
    if (entered || clicked) {
        if (watched == MemoNagl || watched == MemoNagl->viewport() || watched == CBoxOdstepNagl) {
            if (m_active != Section::Header)
                activate(Section::Header);
        } else if (watched == DBGridLineDef || watched == CBoxOdstepLinia) {
            if (m_active != Section::Rows)
                activate(Section::Rows);
        }
    }
    return QDialog::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------
// Columns

void TFormWzorListy::LBoxDaneDblClick(const QString &item) {
    m_columns->append(newColumn(item));
    setModified();
    const int row = m_columns->rowCount() - 1;
    DBGridLineDef->setCurrentIndex(m_columns->index(row, ColumnGridModel::Name));
    activate(Section::Rows);
}

void TFormWzorListy::DBGridLineDefDblClick(const QModelIndex &index) {
    if (!index.isValid() || index.column() != ColumnGridModel::Sum)
        return;
    ListColumn c = m_columns->columns().value(index.row());
    const QString refused = toggleSum(c);
    if (!refused.isEmpty()) {
        m_ctx.questions.inform(refused);
        return;
    }
    m_columns->replace(index.row(), c);
    setModified();
}

void TFormWzorListy::UsupozycjeClick() {
    const int row = DBGridLineDef->currentIndex().row();
    if (row < 0 || row >= m_columns->rowCount())
        return;
    if (!m_ctx.questions.confirmDelete(QStringLiteral("Usunąć pozycję?")))
        return;  // positions stay 1..n, as they always are
    m_columns->remove(row);
    setModified();
}

// ---------------------------------------------------------------------------
// Files

ListTemplate TFormWzorListy::currentTemplate() const {
    ListTemplate t;
    t.headerFont = m_headerFont;
    t.headerSpacing = CBoxOdstepNagl->currentIndex();
    const QString header = MemoNagl->toPlainText();
    t.headerLines = header.isEmpty() ? QStringList() : header.split(QLatin1Char('\n'));
    t.rowFont = m_rowFont;
    t.rowSpacing = CBoxOdstepLinia->currentIndex();
    t.columns = m_columns->columns();
    return t;
}

void TFormWzorListy::setCaptionFor(const QString &path) { setWindowTitle(Caption + path); }

bool TFormWzorListy::SaveButtonClick() {
    if (m_columns->rowCount() == 0) {
        m_ctx.questions.inform(QStringLiteral("Nie zdefiniowano żadnej pozycji!"));
        return false;
    }
    const QString proposed = m_file.isEmpty() ? m_ctx.db.directory() : m_file;
    const QString path = m_ctx.files.saveFile(this, proposed, SaveFilter, QStringLiteral("lsa"));
    if (path.isEmpty())
        return false;
    const QString error = writeListTemplateFile(path, currentTemplate());
    if (!error.isEmpty()) {
        m_ctx.questions.error(error);
        return false;
    }
    m_file = path;
    setCaptionFor(path);
    m_modified = false;
    return true;
}

bool TFormWzorListy::OpenButtonClick() {
    if (!ZapiszJesliZmiany())
        return false;
    const QString path = m_ctx.files.openFile(this, m_ctx.db.directory(), OpenFilter, QStringLiteral("lsa"));
    if (path.isEmpty())
        return false;
    m_file = path;
    m_loading = true;
    MemoNagl->clear();
    m_loading = false;

    const ListTemplateReading r = readListTemplateFile(path);
    if (r.headerRead()) {
        loadToolBar(r.tmpl.headerFont);
        m_loading = true;
        CBoxOdstepNagl->setCurrentIndex(r.tmpl.headerSpacing);
        MemoNagl->setPlainText(r.tmpl.headerLines.join(QLatin1Char('\n')));
        m_loading = false;
        m_headerFont = fontOf(toolBarState());
    }
    if (r.loaded()) {
        loadToolBar(r.tmpl.rowFont);
        m_loading = true;
        CBoxOdstepLinia->setCurrentIndex(r.tmpl.rowSpacing);
        m_columns->setColumns(r.tmpl.columns);
        m_loading = false;
        m_rowFont = fontOf(toolBarState());
    } else if (r.fileError) {
        m_ctx.questions.error(r.error);
    } else {
        m_ctx.questions.inform(r.error);
    }
    showFonts();
    setCaptionFor(path);
    activate(Section::Header);
    m_modified = false;
    return r.loaded();
}

bool TFormWzorListy::ZapiszJesliZmiany() {
    if (!m_modified)
        return true;
    if (!m_ctx.questions.confirm(QStringLiteral("Zapisać zmiany?"))) {
        m_modified = false;
        return true;
    }
    return SaveButtonClick();
}

bool TFormWzorListy::FormClose() { return ZapiszJesliZmiany(); }

void TFormWzorListy::done(int result) {
    if (FormClose())
        QDialog::done(result);
}

}  // namespace varnel::lists
