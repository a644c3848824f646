#include "archive/windows/TFormCtrlAct.h"

#include "archive/windows/ArchiveControls.h"

#include "core/Context.h"
#include "core/Guard.h"
#include "core/HelpTopics.h"
#include "core/Questions.h"
#include "register/Register.h"
#include "ui/BarProgress.h"
#include "ui/DataGrid.h"

#include <QButtonGroup>
#include <QDate>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedLayout>
#include <QVBoxLayout>

namespace varnel::archive {


TFormCtrlAct::TFormCtrlAct(core::Context &ctx, reg::Register &reg, QWidget *parent)
    : QDialog(parent), m_ctx(ctx), m_reg(reg), m_list(ctx.db, ExpiredListTable) {
    setObjectName(QStringLiteral("TFormCtrlAct"));
    setWindowTitle(QStringLiteral("Lista nieaktualnych wniosków"));
    reg::addCalculatedFields(m_list);

    // The start panel.
    PanelIni = new QWidget(this);
    PanelIni->setObjectName(QStringLiteral("PanelIni"));
    RGroupFiltr = new QGroupBox(QStringLiteral("Zaznaczyć do usunięcia wnioski:"), PanelIni);
    RGroupFiltr->setObjectName(QStringLiteral("RGroupFiltr"));
    RButtonWszystkie = new QRadioButton(QStringLiteral("Nieaktualne oraz bez podanego okresu"), RGroupFiltr);
    RButtonNieaktualne = new QRadioButton(QStringLiteral("Tylko nieaktualne"), RGroupFiltr);
    m_filter = new QButtonGroup(this);
    m_filter->addButton(RButtonWszystkie, int(ExpiryFilter::NotCurrentOrUndated));
    m_filter->addButton(RButtonNieaktualne, int(ExpiryFilter::NotCurrentOnly));
    RButtonWszystkie->setChecked(true);
    auto *group = new QVBoxLayout(RGroupFiltr);
    group->addWidget(RButtonWszystkie);
    group->addWidget(RButtonNieaktualne);
    ButtonLoadOK = namedButton(PanelIni, "ButtonLoadOK", QStringLiteral("OK"));
    ButtonLoadEsc = namedButton(PanelIni, "ButtonLoadEsc", QStringLiteral("Cofnij"));
    ProgressBar = placeKeepingBar(PanelIni, "ProgressBar");
    auto *ini = new QVBoxLayout(PanelIni);
    ini->addWidget(RGroupFiltr);
    auto *iniButtons = new QHBoxLayout;
    iniButtons->addStretch();
    iniButtons->addWidget(ButtonLoadOK);
    iniButtons->addWidget(ButtonLoadEsc);
    ini->addLayout(iniButtons);
    ini->addWidget(ProgressBar);
    ini->addStretch();

    // The list panel.
    PanelLista = new QWidget(this);
    PanelLista->setObjectName(QStringLiteral("PanelLista"));
    DBGridList = new ui::DataGrid(PanelLista);
    DBGridList->setObjectName(QStringLiteral("DBGridList"));
    DBGridList->setQuestions(&ctx.questions);
    DBGridList->setColumns({
        {QStringLiteral("Numer_decyzji"), QStringLiteral("Numer_decyzji"), 20},
        {QStringLiteral("NazwIm"), QStringLiteral("Nazw imię"), 20},
        {QStringLiteral("Adres"), QStringLiteral("Adres"), 20},
        {QStringLiteral("Data_zlozenia"), QStringLiteral("Data_zlozenia"), 12},
        {QStringLiteral("Okres_od"), QStringLiteral("Okres_od"), 10},
        {QStringLiteral("Okres_do"), QStringLiteral("Okres_do"), 10},
    });
    DBGridList->setTable(&m_list);
    connect(DBGridList, &ui::DataGrid::rowActivated, this, [this] { ButtonPokazClick(); });
    ButtonPokaz = namedButton(PanelLista, "ButtonPokaz", QStringLiteral("Pokaż"));
    ButtonCofnijZListy = namedButton(PanelLista, "ButtonCofnijZListy", QStringLiteral("Wycofaj z listy"));
    ButtonDelAll = namedButton(PanelLista, "ButtonDelAll", QStringLiteral("Usuń znalezione"));
    ButtonEsc = namedButton(PanelLista, "ButtonEsc", QStringLiteral("Zrezygnuj"));
    ProgressBarDel = placeKeepingBar(PanelLista, "ProgressBarDel");
    auto *lista = new QVBoxLayout(PanelLista);
    lista->addWidget(DBGridList, 1);
    auto *listButtons = new QHBoxLayout;
    for (QPushButton *b : {ButtonPokaz, ButtonCofnijZListy, ButtonDelAll})
        listButtons->addWidget(b);
    listButtons->addStretch();
    listButtons->addWidget(ButtonEsc);
    lista->addLayout(listButtons);
    lista->addWidget(ProgressBarDel);

    m_panels = new QStackedLayout(this);
    m_panels->addWidget(PanelIni);
    m_panels->addWidget(PanelLista);
    resize(820, 460);

    connect(ButtonLoadOK, &QPushButton::clicked, this, &TFormCtrlAct::ButtonLoadOKClick);
    connect(ButtonLoadEsc, &QPushButton::clicked, this, &TFormCtrlAct::ButtonLoadEscClick);
    connect(ButtonPokaz, &QPushButton::clicked, this, &TFormCtrlAct::ButtonPokazClick);
    connect(ButtonCofnijZListy, &QPushButton::clicked, this, &TFormCtrlAct::ButtonCofnijZListyClick);
    connect(ButtonDelAll, &QPushButton::clicked, this, &TFormCtrlAct::ButtonDelAllClick);
    connect(ButtonEsc, &QPushButton::clicked, this, &TFormCtrlAct::ButtonEscClick);
}

TFormCtrlAct::~TFormCtrlAct() = default;

ExpiryFilter TFormCtrlAct::filter() const { return ExpiryFilter(m_filter->checkedId()); }

void TFormCtrlAct::setFilter(ExpiryFilter filter) { m_filter->button(int(filter))->setChecked(true); }

bool TFormCtrlAct::showsList() const { return m_panels->currentWidget() == PanelLista; }

int TFormCtrlAct::ShowModal() {
    FormShow();
    return exec();
}

// Every opening starts at the start panel.
void TFormCtrlAct::FormShow() {
    m_panels->setCurrentWidget(PanelIni);
    ProgressBar->hide();
    ButtonLoadOK->setFocus();
}

// The applications of the register, in its order, that the filter marks
// are listed in a fresh Temp, shown in name order.
void TFormCtrlAct::ButtonLoadOKClick() {
    data::Table &applications = m_reg.TableWnioski();
    if (!applications.isOpen() && !m_reg.PokazListeWnioskow())
        return;
    ProgressBar->setValue(0);
    ProgressBar->show();
    ButtonLoadOK->setEnabled(false);
    m_list.close();
    ui::BarProgress progress(ProgressBar);
    const bool built = core::guarded(m_ctx.questions, [&] {
        buildExpiredList(applications, filter(), QDate::currentDate(), &progress);
        m_list.open();
        m_list.setIndexName(ExpiredListOrder);
        m_list.first();
    });
    ButtonLoadOK->setEnabled(true);
    ProgressBar->hide();
    if (!built)
        return;
    m_panels->setCurrentWidget(PanelLista);
    ProgressBarDel->hide();
    DBGridList->setFocus();
}

void TFormCtrlAct::ButtonLoadEscClick() { reject(); }
void TFormCtrlAct::ButtonEscClick() { reject(); }

// The application of the row, found by its number on the register's
// primary index, in the application form as the main window shows it.
void TFormCtrlAct::ButtonPokazClick() {
    if (!m_list.isOpen() || m_list.isEmpty())
        return;
    core::guarded(m_ctx.questions, [this] {
        const qint64 nr = m_list.field(QStringLiteral("NrEw")).asInteger();
        data::Table &applications = m_reg.TableWnioski();
        applications.setIndexName(QString());
        if (!applications.findKey({QVariant(qlonglong(nr))})) {
            m_ctx.questions.inform(MissingKeyText);
            return;
        }
        if (showApplication)
            showApplication();
    });
    DBGridList->setFocus();
}

// The row leaves the list; the application stays in the register.
void TFormCtrlAct::ButtonCofnijZListyClick() {
    if (!m_list.isOpen() || m_list.isEmpty())
        return;
    if (!m_ctx.questions.confirm(WithdrawQuestion))
        return;
    core::guarded(m_ctx.questions, [this] { m_list.remove(); });
}

// Every listed application is deleted from the register, all or (after a
// failure of the engine) none; the window closes whatever the answer.
void TFormCtrlAct::ButtonDelAllClick() {
    if (m_list.isOpen() && m_ctx.questions.confirm(DeleteAllQuestion)) {
        ProgressBarDel->setValue(0);
        ProgressBarDel->show();
        ui::BarProgress progress(ProgressBarDel);
        core::guarded(m_ctx.questions, [&] {
            deleteListed(m_list, m_reg.TableWnioski(), &progress,
                         [this](qint64) { m_ctx.questions.inform(MissingKeyText); });
        });
        ProgressBarDel->hide();
    }
    accept();
}

// The list is closed and the register goes back to name order.
void TFormCtrlAct::FormClose() {
    m_list.close();
    core::guarded(m_ctx.questions, [this] { m_reg.setSortOrder(reg::SortOrder::Nazwiska); });
}

void TFormCtrlAct::done(int result) {
    FormClose();
    QDialog::done(result);
}

void TFormCtrlAct::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_F1 && showHelp) {
        showHelp(help::ExpiredRemoval);
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace varnel::archive
