#include "totals/windows/TFormDotacja.h"

#include "core/Context.h"
#include "core/FileDialogs.h"
#include "core/Guard.h"
#include "core/PrivateFile.h"
#include "core/Questions.h"
#include "data/Database.h"
#include "print/windows/PrintActions.h"
#include "register/Register.h"
#include "totals/doc/StatementPrint.h"
#include "ui/DbControls.h"
#include "ui/PrinterSetup.h"
#include "ui/SelectionPanels.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace varnel::totals {

namespace {

QLineEdit *resultEdit(const char *name, QWidget *parent) {
    auto *e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setReadOnly(true);
    e->setAlignment(Qt::AlignRight);
    QFont f(QStringLiteral("Liberation Mono"));
    f.setStyleHint(QFont::Monospace);
    e->setFont(f);
    e->setMaximumWidth(130);
    return e;
}

}  // namespace

TFormDotacja::TFormDotacja(core::Context &ctx, reg::Register &reg, QWidget *parent)
    : QDialog(parent), m_ctx(ctx), m_reg(reg), m_settings(ctx.db, QStringLiteral("skladlic")) {
    setObjectName(QStringLiteral("FormDotacja"));
    setWindowTitle(QStringLiteral("Zestawienie wydatków"));
    setModal(true);
    m_source.setQuestions(&m_ctx.questions);
    m_source.setTable(&m_settings);

    auto *layout = new QVBoxLayout(this);
    PageControl = new QTabWidget(this);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    TabSheetWyniki = buildResultsTab();
    TabSheetSkladniki = buildSettingsTab();
    PageControl->addTab(TabSheetWyniki, QStringLiteral("Wyniki"));
    PageControl->addTab(TabSheetSkladniki, QStringLiteral("Składniki"));
    layout->addWidget(PageControl, 1);

    ButtonLicz = new QPushButton(QStringLiteral("Licz"), this);
    ButtonLicz->setObjectName(QStringLiteral("ButtonLicz"));
    ButtonOK = new QPushButton(QStringLiteral("OK"), this);
    ButtonOK->setObjectName(QStringLiteral("ButtonOK"));
    ButtonCsv = new QPushButton(QStringLiteral("Eksport CSV"), this);
    ButtonCsv->setObjectName(QStringLiteral("ButtonCsv"));
    m_actions = new print::PrintActions(this, m_ctx, m_printer, [this](print::PageDevice &d) { render(d); });
    m_actions->check = [this] {
        if (!m_computed) {
            m_ctx.questions.inform(QStringLiteral("Najpierw policz zestawienie przyciskiem \"Licz\"."));
            return false;
        }
        ui::applyPrinterSettings(m_ctx.values.printer, m_printer);
        return true;
    };
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(ButtonLicz);
    buttons->addSpacing(12);
    m_actions->addButtons(buttons);
    buttons->addWidget(ButtonCsv);
    buttons->addStretch();
    buttons->addWidget(ButtonOK);
    layout->addLayout(buttons);
    for (QPushButton *b : findChildren<QPushButton *>())
        b->setAutoDefault(false);
    ButtonLicz->setDefault(true);

    connect(ButtonLicz, &QPushButton::clicked, this, &TFormDotacja::ButtonLiczClick);
    connect(ButtonOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(ButtonCsv, &QPushButton::clicked, this, &TFormDotacja::exportCsv);
}

TFormDotacja::~TFormDotacja() { m_source.setTable(nullptr); }

QWidget *TFormDotacja::buildResultsTab() {
    auto *tab = new QWidget;
    auto *v = new QVBoxLayout(tab);
    auto *form = new QFormLayout;
    EditIlosc = resultEdit("EditIlosc", tab);
    EditSuma = resultEdit("EditSuma", tab);
    form->addRow(QStringLiteral("Znaleziono wniosków:"), EditIlosc);
    form->addRow(QStringLiteral("Kwota przyzn. dodatków :"), EditSuma);
    v->addLayout(form);
    auto *split = new QGroupBox(QStringLiteral("z tego użytkownikom mieszkań:"), tab);
    auto *sf = new QFormLayout(split);
    EditKomunal = resultEdit("EditKomunal", split);
    EditSpoldz = resultEdit("EditSpoldz", split);
    EditZaklad = resultEdit("EditZaklad", split);
    EditInne = resultEdit("EditInne", split);
    sf->addRow(QStringLiteral("komunalnych"), EditKomunal);
    sf->addRow(QStringLiteral("spółdzielczych"), EditSpoldz);
    sf->addRow(QStringLiteral("zakładowych"), EditZaklad);
    sf->addRow(QStringLiteral("innych"), EditInne);
    v->addWidget(split);
    PanelZapotrz = new QGroupBox(QStringLiteral("Zapotrzebowanie na dotację:"), tab);
    PanelZapotrz->setObjectName(QStringLiteral("PanelZapotrz"));
    auto *zf = new QFormLayout(PanelZapotrz);
    EditWlasnGminy = resultEdit("EditWlasnGminy", PanelZapotrz);
    EditWlasnNieGminy = resultEdit("EditWlasnNieGminy", PanelZapotrz);
    EditDotacja = resultEdit("EditDotacja", PanelZapotrz);
    LabelProc = new QLabel(PanelZapotrz);
    LabelProc->setObjectName(QStringLiteral("LabelProc"));
    LabelDotacja = new QLabel(PanelZapotrz);
    LabelDotacja->setObjectName(QStringLiteral("LabelDotacja"));
    zf->addRow(QStringLiteral("(dk) suma we własności gminy:"), EditWlasnGminy);
    zf->addRow(QString(), LabelProc);
    zf->addRow(QStringLiteral("(dp) suma dla pozostałych:"), EditWlasnNieGminy);
    auto *dotacja = new QHBoxLayout;
    dotacja->addWidget(LabelDotacja);
    dotacja->addWidget(EditDotacja);
    dotacja->addStretch();
    zf->addRow(QStringLiteral("dotacja:"), dotacja);
    v->addWidget(PanelZapotrz);
    v->addStretch();
    return tab;
}

QWidget *TFormDotacja::buildSettingsTab() {
    auto *tab = new QWidget;
    auto *g = new QGridLayout(tab);
    RGroupKogo = new ui::DbRadioGroup(QStringLiteral("Lista:"), tab);
    RGroupKogo->setObjectName(QStringLiteral("RGroupKogo"));
    RGroupKogo->setItems(kogoItems());
    RGroupKogo->bind(&m_source, QStringLiteral("Kogo"));
    g->addWidget(RGroupKogo, 0, 0);

    const ui::PeriodSelection period = ui::makePeriodSelection(&m_source, tab);
    DBCBoxCtrlOkres = period.ctrlOkres;
    PanelOkres = period.panel;
    DBEditOd = period.od;
    DBEditDo = period.doo;
    g->addWidget(period.box, 1, 0, 1, 2);

    const ui::ManagerSelection manager = ui::makeManagerSelection(&m_source, tab);
    DBCBoxWszyscy = manager.wszyscy;
    PanelZarzadca = manager.panel;
    DBCBoxZarzadca = manager.zarzadca;
    g->addWidget(manager.box, 2, 0, 1, 2);

    DBCBoxLiczDotacje = new ui::DbCheckBox(QStringLiteral("Oblicz zapotrzebowanie na dotację"), tab);
    DBCBoxLiczDotacje->setObjectName(QStringLiteral("DBCBoxLiczDotacje"));
    DBCBoxLiczDotacje->bind(&m_source, QStringLiteral("LiczDotacje"));
    g->addWidget(DBCBoxLiczDotacje, 3, 0, 1, 2);
    RGroupWzor = new ui::DbRadioGroup(QString(), tab);
    RGroupWzor->setObjectName(QStringLiteral("RGroupWzor"));
    RGroupWzor->setItems(wzorItems());
    RGroupWzor->bind(&m_source, QStringLiteral("Wzor"));
    g->addWidget(RGroupWzor, 4, 0, 1, 2);
    g->setRowStretch(5, 1);

    for (ui::DbCheckBox *c : {DBCBoxWszyscy, DBCBoxCtrlOkres, DBCBoxLiczDotacje})
        connect(c, &QCheckBox::clicked, this, [this] { showPanels(); });
    return tab;
}

void TFormDotacja::setMonthMode() { m_range = false; }

void TFormDotacja::setRangeMode(const QDate &from, const QDate &to) {
    m_range = true;
    m_from = from;
    m_to = to;
}

int TFormDotacja::ShowModal() {
    if (!FormShow())
        return QDialog::Rejected;
    return exec();
}

bool TFormDotacja::FormShow() {
    // A new row starts with every application and every manager.
    if (!ui::openSettingsRow(m_settings, m_ctx.questions,
                             [](data::Table &row) { setTotalsOptions(row, TotalsOptions{}); }))
        return false;
    DBCBoxZarzadca->setItems(m_reg.choiceLists().managers);
    m_source.reloadControls();
    m_computed = false;
    m_caption.clear();
    m_statement = Statement{};
    setWindowTitle(QStringLiteral("Zestawienie wydatków"));
    for (QLineEdit *e : {EditIlosc, EditSuma, EditKomunal, EditSpoldz, EditZaklad, EditInne, EditWlasnGminy,
                         EditWlasnNieGminy, EditDotacja})
        e->clear();
    LabelProc->clear();
    LabelDotacja->clear();
    showPanels();
    return true;
}

void TFormDotacja::showPanels() {
    PanelZarzadca->setVisible(!DBCBoxWszyscy->isChecked());
    PanelOkres->setVisible(DBCBoxCtrlOkres->isChecked());
    PanelZapotrz->setVisible(DBCBoxLiczDotacje->isChecked());
    RGroupWzor->setVisible(DBCBoxLiczDotacje->isChecked());
}

bool TFormDotacja::FormClose() { return ui::closeSettingsRow(m_settings, m_ctx.questions); }

void TFormDotacja::done(int result) {
    if (FormClose())
        QDialog::done(result);
}

// Each archive of the range is shown by the register in turn (its caption
// follows) while the view stays closed, so that neither the view nor the
// grid reads or paints an archive only passed through; the current
// applications are shown again at the end, also after a failure.
void TFormDotacja::totalRange(const TotalsOptions &options, RunningTotals &totals, const RecordMessage &message) {
    const QVector<calc::ArchiveEntry> entries = rangeEntries(calc::readArchiveList(m_ctx.db), m_from, m_to);
    data::Table &view = m_reg.TableWnioski();
    const bool wasOpen = view.isOpen();
    if (wasOpen)
        view.close();
    struct Back {
        reg::Register &reg;
        bool reopen;
        ~Back() {
            reg.ChangeTable(reg::CurrentApplications);
            if (reopen)
                reg.PokazListeWnioskow();
        }
    } back{m_reg, wasOpen};
    for (const calc::ArchiveEntry &e : entries) {
        m_reg.ChangeTable(e.fileName);
        addTable(m_ctx.db, e.fileName, options, totals, message);
    }
}

void TFormDotacja::ButtonLiczClick() {
    m_computed = false;
    LabelProc->clear();
    TotalsOptions options;
    if (!core::guarded(m_ctx.questions, [&] {
            m_source.updateRecord();
            options = totalsOptionsOf(m_settings);
        }))
        return;
    RecordMessage message;
    if (m_reg.pelnaInformacja())
        message = [this](const QString &text) { m_ctx.questions.inform(text); };
    RunningTotals totals;
    const bool done = core::guarded(m_ctx.questions, [&] {
        if (m_range) {
            m_caption = rangeCaption(m_from, m_to);
            setWindowTitle(m_caption);
            totalRange(options, totals, message);
        } else {
            m_caption = monthCaption(m_reg.currentTableName());
            setWindowTitle(m_caption);
            addTable(m_ctx.db, m_reg.currentTableName(), options, totals, message);
        }
    });
    if (!done)
        return;
    m_options = options;
    m_statement = finishStatement(totals, options);
    m_computed = true;
    PageControl->setCurrentWidget(TabSheetWyniki);
    for (const QString &w : m_statement.warnings)
        m_ctx.questions.inform(w);
    writeResults();
}

void TFormDotacja::writeResults() {
    const RunningTotals &t = m_statement.totals;
    EditIlosc->setText(QString::number(t.count));
    EditSuma->setText(formatAmount(t.suma));
    EditKomunal->setText(formatAmount(t.komunal));
    EditSpoldz->setText(formatAmount(t.spoldz));
    EditZaklad->setText(formatAmount(t.zaklad));
    EditInne->setText(formatAmount(t.inne));
    if (!m_statement.liczDotacje)
        return;
    EditWlasnGminy->setText(formatAmount(t.dk));
    EditWlasnNieGminy->setText(formatAmount(t.dp));
    if (t.suma > 0) {
        LabelProc->setText(m_statement.labelProc);
        LabelDotacja->setText(m_statement.labelDotacja);
        EditDotacja->setText(formatAmount(m_statement.dotacja));
    }
}

void TFormDotacja::render(print::PageDevice &device) { printStatement(device, m_caption, m_options, m_statement); }

bool TFormDotacja::exportCsv() {
    if (!m_computed) {
        m_ctx.questions.inform(QStringLiteral("Najpierw policz zestawienie przyciskiem \"Licz\"."));
        return false;
    }
    const QString path = m_ctx.files.saveFile(this, m_ctx.db.directory(), QStringLiteral("Plik CSV (*.csv)|*.csv"),
                                              QStringLiteral("csv"));
    if (path.isEmpty())
        return false;
    if (data::Database::isOwnPath(m_ctx.db.directory(), path)) {
        m_ctx.questions.error(QStringLiteral("Plik %1 należy do bazy danych i nie zostanie nadpisany. Wskaż inny plik.").arg(path));
        return false;
    }
    core::PrivateFile file(path);
    const QByteArray csv = statementCsv(m_caption, m_options, m_statement);
    if (!file.open() || file.device()->write(csv) != csv.size() || !file.commit()) {
        m_ctx.questions.error(file.errorString());
        return false;
    }
    return true;
}

}  // namespace varnel::totals
