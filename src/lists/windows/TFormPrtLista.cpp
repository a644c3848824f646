#include "lists/windows/TFormPrtLista.h"

#include "core/Context.h"
#include "core/DbError.h"
#include "core/FileDialogs.h"
#include "core/Guard.h"
#include "core/Progress.h"
#include "core/Questions.h"
#include "data/Database.h"
#include "lists/ListCellValues.h"
#include "lists/windows/ColumnGrid.h"
#include "print/windows/PrintActions.h"
#include "register/Register.h"
#include "ui/DbControls.h"
#include "ui/PrinterSetup.h"
#include "ui/SelectionPanels.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace varnel::lists {

const QString TFormPrtLista::OpenFilter = QStringLiteral("Wzorzec listy (*.lsa)|*.lsa|Dowolny (*.*)|*.*");

namespace {

const QString SettingsTable = QStringLiteral("skladlist");
constexpr int ProgressRange = 10000;

// The window's progress bar over a list print: 0..10000, each application
// one step of 10000 divided by their number; repainted every hundredth.
class BarProgress : public core::Progress {
public:
    explicit BarProgress(QProgressBar *bar) : m_bar(bar) {}
    void start(int max) override {
        m_step = max > 0 ? ProgressRange / max : 0;
        m_bar->setRange(0, ProgressRange);
        m_bar->setValue(0);
        m_bar->show();
        m_bar->repaint();
    }
    void step() override {
        const int value = std::min(ProgressRange, m_bar->value() + m_step);
        m_bar->setValue(value);
        if (value - m_painted >= ProgressRange / 100) {
            m_painted = value;
            m_bar->repaint();
        }
    }
    void finish() override { m_bar->hide(); }

private:
    QProgressBar *m_bar;
    int m_step = 0;
    int m_painted = 0;
};

QString spacingText(int index) { return QStringLiteral("Odstępy: ") + spacingLabel(index); }

}  // namespace

TFormPrtLista::TFormPrtLista(core::Context &context, reg::Register &reg, QWidget *parent)
    : QDialog(parent), m_ctx(context), m_reg(reg), m_settings(context.db, SettingsTable) {
    setObjectName(QStringLiteral("FormPrtLista"));
    setWindowTitle(QStringLiteral("Drukowanie listy"));
    setModal(true);
    m_source.setQuestions(&m_ctx.questions);
    m_source.setTable(&m_settings);
    m_columns = new ColumnGridModel(this);

    auto *layout = new QVBoxLayout(this);
    PageControl = new QTabWidget(this);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    TabSheetWzor = buildTemplateTab();
    TabSheetSkladniki = buildSettingsTab();
    PageControl->addTab(TabSheetWzor, QStringLiteral("Wzorzec"));
    PageControl->addTab(TabSheetSkladniki, QStringLiteral("Składniki"));
    layout->addWidget(PageControl, 1);

    ProgressBarPrt = new QProgressBar(this);
    ProgressBarPrt->setObjectName(QStringLiteral("ProgressBarPrt"));
    ProgressBarPrt->setRange(0, ProgressRange);
    ProgressBarPrt->setTextVisible(false);
    ProgressBarPrt->hide();
    layout->addWidget(ProgressBarPrt);

    ButtonWzor = new QPushButton(QStringLiteral("Wzór"), this);
    ButtonWzor->setObjectName(QStringLiteral("ButtonWzor"));
    auto *odStrony = new QLabel(QStringLiteral("Od strony:"), this);
    EditOdStrony = new QLineEdit(QStringLiteral("1"), this);
    EditOdStrony->setObjectName(QStringLiteral("EditOdStrony"));
    EditOdStrony->setMaximumWidth(60);
    EditOdStrony->installEventFilter(this);
    odStrony->setBuddy(EditOdStrony);

    m_actions = new print::PrintActions(this, m_ctx, m_printer, [this](print::PageDevice &d) { render(d); });
    m_actions->check = [this] { return checkPrint(); };
    connect(m_actions, &print::PrintActions::printed, this,
            [this] { m_ctx.values.printer = ui::printerSettingsOf(m_printer); });
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(ButtonWzor);
    buttons->addSpacing(12);
    buttons->addWidget(odStrony);
    buttons->addWidget(EditOdStrony);
    buttons->addStretch();
    m_actions->addButtons(buttons);
    ButtonDrukuj = m_actions->printButton();
    ButtonDrukuj->setObjectName(QStringLiteral("ButtonDrukuj"));
    ButtonPodglad = m_actions->previewButton();
    ButtonPodglad->setObjectName(QStringLiteral("ButtonPodglad"));
    ButtonPdf = m_actions->pdfButton();
    ButtonPdf->setObjectName(QStringLiteral("ButtonPdf"));
    ButtonPrintEsc = new QPushButton(QStringLiteral("Cofnij"), this);
    ButtonPrintEsc->setObjectName(QStringLiteral("ButtonPrintEsc"));
    buttons->addSpacing(12);
    buttons->addWidget(ButtonPrintEsc);
    layout->addLayout(buttons);
    for (QPushButton *b : {ButtonWzor, ButtonDrukuj, ButtonPodglad, ButtonPdf, ButtonPrintEsc})
        b->setAutoDefault(false);

    connect(ButtonWzor, &QPushButton::clicked, this, [this] { ButtonWzorClick(); });
    connect(ButtonPrintEsc, &QPushButton::clicked, this, &QDialog::reject);
    setPrintEnabled(false);

    fillManagers();
    connect(&m_reg.choiceLists(), &reg::ChoiceLists::changed, this, [this] { fillManagers(); });
    resize(660, 520);
}

TFormPrtLista::~TFormPrtLista() = default;

QWidget *TFormPrtLista::buildTemplateTab() {
    auto *tab = new QWidget;
    auto *g = new QVBoxLayout(tab);
    LabelWzorzec = new QLabel(QStringLiteral("Wzorzec: "), tab);
    LabelWzorzec->setObjectName(QStringLiteral("LabelWzorzec"));
    g->addWidget(LabelWzorzec);
    g->addWidget(new QLabel(QStringLiteral("Nagłówek listy:"), tab));
    MemoNagl = new QPlainTextEdit(tab);
    MemoNagl->setObjectName(QStringLiteral("MemoNagl"));
    MemoNagl->setReadOnly(true);
    MemoNagl->setLineWrapMode(QPlainTextEdit::NoWrap);
    g->addWidget(MemoNagl, 2);
    LabelOdstepNagl = new QLabel(QStringLiteral("Odstępy: "), tab);
    LabelOdstepNagl->setObjectName(QStringLiteral("LabelOdstepNagl"));
    g->addWidget(LabelOdstepNagl);
    g->addWidget(new QLabel(QStringLiteral("Zawartość linii:"), tab));
    DBGridLineDef = new QTableView(tab);
    DBGridLineDef->setObjectName(QStringLiteral("DBGridLineDef"));
    setUpColumnGrid(DBGridLineDef, m_columns);
    DBGridLineDef->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGridLineDef->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGridLineDef->setSelectionMode(QAbstractItemView::SingleSelection);
    g->addWidget(DBGridLineDef, 3);
    LabelOdstepLinia = new QLabel(QStringLiteral("Odstępy: "), tab);
    LabelOdstepLinia->setObjectName(QStringLiteral("LabelOdstepLinia"));
    g->addWidget(LabelOdstepLinia);
    return tab;
}

QWidget *TFormPrtLista::buildSettingsTab() {
    auto *tab = new QWidget;
    auto *g = new QGridLayout(tab);
    auto check = [this, tab](const char *name, const QString &field, const QString &text) {
        auto *c = new ui::DbCheckBox(text, tab);
        c->setObjectName(QString::fromLatin1(name));
        c->bind(&m_source, field);
        return c;
    };

    RGroupKogo = new ui::DbRadioGroup(QStringLiteral("Lista:"), tab);
    RGroupKogo->setObjectName(QStringLiteral("RGroupKogo"));
    RGroupKogo->setItems(kogoItems());
    RGroupKogo->bind(&m_source, QStringLiteral("Kogo"));
    RGroupSort = new ui::DbRadioGroup(QStringLiteral("Uporządkowanie:"), tab);
    RGroupSort->setObjectName(QStringLiteral("RGroupSort"));
    RGroupSort->setItems(sortItems());
    RGroupSort->bind(&m_source, QStringLiteral("Sort"));
    g->addWidget(RGroupKogo, 0, 0, 2, 1);
    g->addWidget(RGroupSort, 0, 1);

    auto *look = new QGroupBox(QStringLiteral("Wygląd:"), tab);
    auto *lookLayout = new QVBoxLayout(look);
    DBCBoxRamki = check("DBCBoxRamki", QStringLiteral("WygladRamki"), QStringLiteral("Ramki"));
    DBCBoxNrStrony = check("DBCBoxNrStrony", QStringLiteral("WygladNrStrony"), QStringLiteral("Nr strony"));
    DBCBoxPodkrWiersz = check("DBCBoxPodkrWiersz", QStringLiteral("PodkrWiersz"), QStringLiteral("Podkreśl.wiersz"));
    for (QWidget *w : {static_cast<QWidget *>(DBCBoxRamki), static_cast<QWidget *>(DBCBoxNrStrony),
                       static_cast<QWidget *>(DBCBoxPodkrWiersz)}) {
        w->setParent(look);
        lookLayout->addWidget(w);
    }
    g->addWidget(look, 1, 1);

    const ui::ManagerSelection manager = ui::makeManagerSelection(&m_source, tab);
    DBCBoxWszyscy = manager.wszyscy;
    PanelZarzadca = manager.panel;
    DBCBoxZarzadca = manager.zarzadca;
    g->addWidget(manager.box, 2, 0, 1, 2);

    const ui::PeriodSelection period = ui::makePeriodSelection(&m_source, tab);
    DBCBoxCtrlOkres = period.ctrlOkres;
    PanelOkres = period.panel;
    DBEditOd = period.od;
    DBEditDo = period.doo;
    g->addWidget(period.box, 3, 0, 1, 2);
    g->setRowStretch(4, 1);

    connect(DBCBoxWszyscy, &QCheckBox::clicked, this, [this] { showPanels(); });
    connect(DBCBoxCtrlOkres, &QCheckBox::clicked, this, [this] { showPanels(); });
    return tab;
}

void TFormPrtLista::fillManagers() { DBCBoxZarzadca->setItems(m_reg.choiceLists().managers); }

void TFormPrtLista::setPrintEnabled(bool enabled) {
    for (QPushButton *b : {ButtonDrukuj, ButtonPodglad, ButtonPdf})
        b->setEnabled(enabled);
}

int TFormPrtLista::ShowModal() {
    if (!FormShow())
        return QDialog::Rejected;
    return exec();
}

bool TFormPrtLista::FormShow() {
    ProgressBarPrt->hide();
    data::Table &view = m_reg.TableWnioski();
    if (!view.isOpen() && !m_reg.PokazListeWnioskow())
        return false;
    if (!ui::openSettingsRow(m_settings, m_ctx.questions))
        return false;
    m_source.reloadControls();
    showPanels();
    PageControl->setCurrentWidget(TabSheetWzor);
    return true;
}

void TFormPrtLista::showPanels() {
    PanelZarzadca->setVisible(!DBCBoxWszyscy->isChecked());
    PanelOkres->setVisible(DBCBoxCtrlOkres->isChecked());
}

// Settings that cannot be stored (a date that is no date) stay on the
// screen to be corrected.
bool TFormPrtLista::FormClose() { return ui::closeSettingsRow(m_settings, m_ctx.questions); }

void TFormPrtLista::done(int result) {
    if (FormClose())
        QDialog::done(result);
}

bool TFormPrtLista::eventFilter(QObject *watched, QEvent *event) {
    // "Od strony:" takes digits; the other characters from the blank to
    // code 128 are refused (editing keys pass).
    if (watched == EditOdStrony && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const QString text = key->text();
        if (text.size() == 1 && key->key() != Qt::Key_Delete) {
            const ushort code = text[0].unicode();
            if (code >= 32 && code <= 128 && !(code >= '0' && code <= '9'))
                return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFormPrtLista::ButtonWzorClick() {
    PageControl->setCurrentWidget(TabSheetWzor);
    const QString path = m_ctx.files.openFile(this, m_ctx.db.directory(), OpenFilter, QStringLiteral("lsa"));
    if (path.isEmpty())
        return;
    const ListTemplateReading r = readListTemplateFile(path);
    if (r.headerRead()) {
        m_template.headerFont = r.tmpl.headerFont;
        m_template.headerSpacing = r.tmpl.headerSpacing;
        m_template.headerLines = r.tmpl.headerLines;
        MemoNagl->setFont(listFont(m_template.headerFont));
        MemoNagl->setPlainText(m_template.headerLines.join(QLatin1Char('\n')));
        LabelOdstepNagl->setText(spacingText(m_template.headerSpacing));
    }
    if (r.loaded()) {
        m_template.rowFont = r.tmpl.rowFont;
        m_template.rowSpacing = r.tmpl.rowSpacing;
        m_template.columns = r.tmpl.columns;
        m_columns->setColumns(m_template.columns);
        LabelOdstepLinia->setText(spacingText(m_template.rowSpacing));
        m_loaded = !m_template.columns.isEmpty();
        setPrintEnabled(m_loaded);
        LabelWzorzec->setText(QStringLiteral("Wzorzec: ") + QFileInfo(path).fileName());
        return;
    }
    if (r.fileError)
        m_ctx.questions.error(r.error);
    else
        m_ctx.questions.inform(r.error);
    m_loaded = false;
    setPrintEnabled(false);
}

bool TFormPrtLista::checkPrint() {
    bool ok = false;
    const int from = EditOdStrony->text().trimmed().toInt(&ok);
    if (!ok) {
        m_ctx.questions.inform(QStringLiteral("Nieprawidłowa zawartość pola: Od strony"));
        return false;
    }
    if (!m_loaded || !m_settings.isOpen())
        return false;
    data::Table &view = m_reg.TableWnioski();
    if (!view.isOpen() && !m_reg.PokazListeWnioskow())
        return false;
    bool any = false;
    const bool read = core::guarded(m_ctx.questions, [&] {
        m_source.updateRecord();
        m_printSettings = listSettingsOf(m_settings);
        any = hasListedApplications(view, m_printSettings);
    });
    if (!read)
        return false;
    if (!any) {
        m_ctx.questions.inform(ListPrintResult().message());
        return false;
    }
    m_fromPage = from;
    ui::applyPrinterSettings(m_ctx.values.printer, m_printer);
    return true;
}

void TFormPrtLista::render(print::PageDevice &device) {
    ListPrintJob job;
    job.tmpl = m_template;
    job.settings = m_printSettings;
    job.footer = readListFooter(m_ctx.db);
    job.fromPage = m_fromPage;
    job.cellValue = &listCellValue;
    BarProgress progress(ProgressBarPrt);
    m_result = printList(m_reg.TableWnioski(), job, device, progress);
    // The order chosen stays set on the register, whose buttons follow it.
    const QString index = orderIndex(m_printSettings);
    if (index == QLatin1String("NazwNdx"))
        m_reg.setSortOrder(reg::SortOrder::Nazwiska);
    else if (index == QLatin1String("NrDecNdx"))
        m_reg.setSortOrder(reg::SortOrder::NrDec);
    // A device that failed is told by the print itself.
    if (m_result.outcome == ListPrintResult::NoApplications || m_result.outcome == ListPrintResult::BeyondLastPage)
        m_ctx.questions.inform(m_result.message());
}

}  // namespace varnel::lists
