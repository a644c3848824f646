#include "archive/windows/TFormArchiwum.h"

#include "archive/windows/ArchiveControls.h"

#include "archive/ArchiveList.h"
#include "core/Context.h"
#include "core/Guard.h"
#include "core/HelpTopics.h"
#include "core/Questions.h"
#include "register/Register.h"
#include "ui/BarProgress.h"
#include "ui/DataGrid.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace varnel::archive {

namespace {
const QString InvalidNameText = QStringLiteral("Nieprawidłowa nazwa archiwum!");
}  // namespace

TFormArchiwum::TFormArchiwum(core::Context &ctx, reg::Register &reg, QWidget *parent, const QDate &today)
    : QDialog(parent), m_ctx(ctx), m_reg(reg), m_list(ctx.db, ArchiveListTable), m_proposal(proposeMonth(today)) {
    setObjectName(QStringLiteral("TFormArchiwum"));

    DBGridArch = new ui::DataGrid(this);
    DBGridArch->setObjectName(QStringLiteral("DBGridArch"));
    DBGridArch->setQuestions(&ctx.questions);
    DBGridArch->setColumns({{QStringLiteral("Data_str"), QStringLiteral("Miesiąc"), 20}});
    DBGridArch->setTable(&m_list);
    DBGridArch->setMinimumHeight(240);
    connect(DBGridArch, &QAbstractItemView::clicked, this, [this] { DBGridArchCellClick(); });

    // Month close: "Zapisać jako:" month and year.
    PanelKalend = new QWidget(this);
    PanelKalend->setObjectName(QStringLiteral("PanelKalend"));
    LabelKalend = new QLabel(QStringLiteral("Zapisać jako:"), PanelKalend);
    CBoxMies = new QComboBox(PanelKalend);
    CBoxMies->setObjectName(QStringLiteral("CBoxMies"));
    CBoxMies->addItems(monthNames());
    CBoxRok = new QComboBox(PanelKalend);
    CBoxRok->setObjectName(QStringLiteral("CBoxRok"));
    CBoxRok->addItems(m_proposal.years);
    // FormCreate, once per run: the month before the day the run started.
    CBoxMies->setCurrentIndex(m_proposal.month - 1);
    CBoxRok->setCurrentIndex(int(m_proposal.years.indexOf(QString::number(m_proposal.year))));
    ButtonDataOK = namedButton(PanelKalend, "ButtonDataOK", QStringLiteral("OK"));
    ButtonDataEsc = namedButton(PanelKalend, "ButtonDataEsc", QStringLiteral("Cofnij"));
    ProgressBar = placeKeepingBar(PanelKalend, "ProgressBar");
    auto *kalend = new QVBoxLayout(PanelKalend);
    kalend->setContentsMargins(0, 0, 0, 0);
    auto *choice = new QHBoxLayout;
    choice->addWidget(LabelKalend);
    choice->addWidget(CBoxMies, 1);
    choice->addWidget(CBoxRok);
    kalend->addLayout(choice);
    auto *kalendButtons = new QHBoxLayout;
    kalendButtons->addStretch();
    kalendButtons->addWidget(ButtonDataOK);
    kalendButtons->addWidget(ButtonDataEsc);
    kalend->addLayout(kalendButtons);
    kalend->addWidget(ProgressBar);

    // Open: "Otworzyć archiwum?"
    PanelButtons = new QWidget(this);
    PanelButtons->setObjectName(QStringLiteral("PanelButtons"));
    LabelButtons = new QLabel(QStringLiteral("Otworzyć archiwum?"), PanelButtons);
    ButtonLoadOK = namedButton(PanelButtons, "ButtonLoadOK", QStringLiteral("OK"));
    ButtonLoadEsc = namedButton(PanelButtons, "ButtonLoadEsc", QStringLiteral("Cofnij"));
    auto *load = new QHBoxLayout(PanelButtons);
    load->setContentsMargins(0, 0, 0, 0);
    load->addWidget(LabelButtons);
    load->addStretch();
    load->addWidget(ButtonLoadOK);
    load->addWidget(ButtonLoadEsc);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(DBGridArch, 1);
    layout->addWidget(PanelKalend);
    layout->addWidget(PanelButtons);
    resize(340, 400);

    connect(ButtonDataOK, &QPushButton::clicked, this, &TFormArchiwum::ButtonDataOKClick);
    connect(ButtonDataEsc, &QPushButton::clicked, this, &TFormArchiwum::ButtonDataEscClick);
    connect(ButtonLoadOK, &QPushButton::clicked, this, &TFormArchiwum::ButtonLoadOKClick);
    connect(ButtonLoadEsc, &QPushButton::clicked, this, &TFormArchiwum::ButtonLoadEscClick);
}

TFormArchiwum::~TFormArchiwum() = default;

int TFormArchiwum::ShowModal(Mode mode) {
    setMode(mode);
    FormShow();
    return exec();
}

void TFormArchiwum::SMnuZamknijMiesClick() {
    if (m_reg.showsArchive() && backToCurrent)
        backToCurrent();
    if (!m_ctx.questions.confirm(CloseQuestion))
        return;
    ShowModal(Mode::MonthClose);
}

void TFormArchiwum::SMnuArchiwumClick() { ShowModal(Mode::Open); }

// The list on its primary index (in month order), the panel of the mode.
void TFormArchiwum::FormShow() {
    core::guarded(m_ctx.questions, [this] {
        if (!m_list.isOpen())
            m_list.open();
        m_list.setIndexName(QString());
    });
    const bool closing = m_mode == Mode::MonthClose;
    setWindowTitle(closing ? QStringLiteral("Przenoszenie do archiwum") : QStringLiteral("Archiwum"));
    PanelKalend->setVisible(closing);
    PanelButtons->setVisible(!closing);
    ProgressBar->hide();
    setProperty("helpTopic", helpTopic());
}

int TFormArchiwum::helpTopic() const { return m_mode == Mode::MonthClose ? help::MonthClose : help::Archive; }

void TFormArchiwum::FormClose() { m_list.close(); }

void TFormArchiwum::done(int result) {
    FormClose();
    QDialog::done(result);
}

void TFormArchiwum::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_F1 && showHelp) {
        showHelp(helpTopic());
        return;
    }
    QDialog::keyPressEvent(event);
}

// The month and year of the clicked row; a list without the text keeps its
// selection.
void TFormArchiwum::DBGridArchCellClick() {
    if (!m_list.isOpen() || m_list.isEmpty())
        return;
    QStringList years;
    for (int i = 0; i < CBoxRok->count(); ++i)
        years << CBoxRok->itemText(i);
    const ListChoice c = choiceForMonthText(m_list.field(QStringLiteral("Data_str")).asString(), years);
    if (c.monthIndex >= 0)
        CBoxMies->setCurrentIndex(c.monthIndex);
    if (c.yearIndex >= 0)
        CBoxRok->setCurrentIndex(c.yearIndex);
}

void TFormArchiwum::closeAndRefresh() {
    PanelKalend->hide();
    PanelButtons->hide();
    accept();
    m_reg.PokazListeWnioskow();
}

// The month close: a month archived before is written again only after Tak;
// list row and archive table are written together or not at all.
void TFormArchiwum::ButtonDataOKClick() {
    const std::optional<QDate> month = chosenMonth(CBoxMies->currentIndex(), CBoxRok->currentText());
    if (!month) {
        m_ctx.questions.inform(InvalidDateText);
        return;
    }
    std::optional<ArchiveEntry> earlier;
    if (!core::guarded(m_ctx.questions, [&] { earlier = archiveEntry(m_ctx.db, *month); }))
        return;
    if (earlier && !m_ctx.questions.confirm(alreadyArchivedQuestion(monthText(*month)))) {
        closeAndRefresh();
        return;
    }
    ProgressBar->setValue(0);
    ProgressBar->show();
    ButtonDataOK->setEnabled(false);
    ButtonDataEsc->setEnabled(false);
    ui::BarProgress bar(ProgressBar);
    const bool done = core::guarded(m_ctx.questions, [&] { closeMonth(m_ctx.db, *month, &bar); });
    ButtonDataOK->setEnabled(true);
    ButtonDataEsc->setEnabled(true);
    ProgressBar->hide();
    if (done)
        closeAndRefresh();
}

void TFormArchiwum::ButtonDataEscClick() {
    PanelKalend->hide();
    reject();
}

// Points the register at the archive of the selected row, with the row's
// lowest pension and kWh cost for the upgrade of an older layout.
void TFormArchiwum::ButtonLoadOKClick() {
    ArchiveEntry entry;
    if (m_list.isOpen() && !m_list.isEmpty())
        entry = entryAt(m_list);
    if (entry.fileName.trimmed().isEmpty()) {
        m_ctx.questions.inform(InvalidNameText);
        reject();
        return;
    }
    PanelButtons->hide();
    const reg::ArchiveParameters parameters{entry.najnEmer.value_or(0), entry.kosztKwh.value_or(0)};
    if (m_reg.ChangeTable(entry.fileName.trimmed(), parameters) == reg::SwitchOutcome::Restart) {
        reject();
        return;
    }
    m_reg.PokazListeWnioskow();
    accept();
}

void TFormArchiwum::ButtonLoadEscClick() {
    PanelButtons->hide();
    reject();
}

}  // namespace varnel::archive
