#include "calc/windows/AmountWindows.h"

#include "core/Context.h"
#include "core/Guard.h"
#include "core/Questions.h"
#include "data/Table.h"
#include "register/Register.h"
#include "ui/BarProgress.h"
#include "ui/DbControls.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace varnel::calc {

namespace {

QPushButton *addButtons(QDialog *dialog, QVBoxLayout *layout, QPushButton *&cofnij) {
    auto *ok = new QPushButton(QStringLiteral("OK"), dialog);
    ok->setObjectName(QStringLiteral("ButtonOK"));
    ok->setDefault(true);
    cofnij = new QPushButton(QStringLiteral("Cofnij"), dialog);
    cofnij->setObjectName(QStringLiteral("ButtonCofnij"));
    cofnij->setAutoDefault(false);
    auto *row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cofnij);
    row->addStretch();
    layout->addLayout(row);
    return ok;
}

}  // namespace

// ---------------------------------------------------------------------------
// The lowest pension and the kWh cost

AmountWindow::AmountWindow(core::Context &ctx, reg::Register &reg, Amount amount, QWidget *parent)
    : QDialog(parent), m_ctx(ctx), m_reg(reg), m_amount(amount) {
    setModal(true);
    setWindowTitle(amountCaption(amount));
    m_source.setQuestions(&m_ctx.questions);
    auto *layout = new QVBoxLayout(this);
    auto *label = new QLabel(amount == Amount::MinEmeryt ? QStringLiteral("Najniższa emerytura:") : QStringLiteral("Koszt kWh"), this);
    m_edit = new ui::DbLineEdit(this);
    m_edit->setCaption(amount == Amount::MinEmeryt ? QStringLiteral("Najniższa emerytura") : QStringLiteral("Koszt kWh"));
    m_edit->setRange(0, 1e9);
    label->setBuddy(m_edit);
    auto *line = new QHBoxLayout;
    line->addWidget(label);
    line->addWidget(m_edit, 1);
    layout->addLayout(line);
    m_ok = addButtons(this, layout, m_cofnij);
    connect(m_ok, &QPushButton::clicked, this, &AmountWindow::ButtonOKClick);
    connect(m_cofnij, &QPushButton::clicked, this, &AmountWindow::ButtonCofnijClick);
    setMinimumWidth(320);
}

AmountWindow::~AmountWindow() { m_source.setTable(nullptr); }

int AmountWindow::ShowModal() {
    if (!FormShow())
        return QDialog::Rejected;
    return exec();
}

bool AmountWindow::FormShow() {
    m_source.setTable(nullptr);
    m_row = AmountRow{};
    const bool opened = core::guarded(m_ctx.questions, [this] {
        m_row = openAmountRow(m_ctx.db, m_amount, m_reg.currentTableName());
    });
    if (!opened) {
        m_row = AmountRow{};
        return false;
    }
    setWindowTitle(m_row.caption);
    if (!m_row.found) {
        // The edit box stays bound to no row: nothing can be saved.
        m_ctx.questions.inform(QStringLiteral("Błąd w odczycie archiwum!"));
        m_edit->bind(&m_source, m_row.field);
        m_edit->setEnabled(false);
        return true;
    }
    m_edit->setEnabled(true);
    m_source.setTable(m_row.table.get());
    m_edit->bind(&m_source, m_row.field);
    m_source.reloadControls();
    if (m_amount == Amount::MinEmeryt)
        m_edit->setFocus();
    return true;
}

void AmountWindow::ButtonOKClick() {
    data::Table *t = m_row.table.get();
    if (t && m_row.found) {
        // A value that does not fit is told and the window stays open.
        if (!core::guarded(m_ctx.questions, [t] {
                if (t->isEditing())
                    t->post();
            }))
            return;
    }
    core::guarded(m_ctx.questions, [this] { m_reg.IniAllDictList(); });
    accept();
}

void AmountWindow::ButtonCofnijClick() {
    if (data::Table *t = m_row.table.get(); t && t->isEditing())
        t->cancel();
    reject();
}

void AmountWindow::done(int result) {
    // Closing closes whichever table is open; an edit still pending is dropped.
    m_source.setTable(nullptr);
    m_row = AmountRow{};
    QDialog::done(result);
}

TFormEmerytMin::TFormEmerytMin(core::Context &ctx, reg::Register &reg, QWidget *parent)
    : AmountWindow(ctx, reg, Amount::MinEmeryt, parent) {
    setObjectName(QStringLiteral("FormEmerytMin"));
    DBEMinEmeryt = m_edit;
    DBEMinEmeryt->setObjectName(QStringLiteral("DBEMinEmeryt"));
}

TFormKosztKwh::TFormKosztKwh(core::Context &ctx, reg::Register &reg, QWidget *parent)
    : AmountWindow(ctx, reg, Amount::KosztKwh, parent) {
    setObjectName(QStringLiteral("FormKosztKwh"));
    DBEKwh = m_edit;
    DBEKwh->setObjectName(QStringLiteral("DBEKwh"));
}

// ---------------------------------------------------------------------------
// The percentage index

TFormWskProc::TFormWskProc(core::Context &ctx, reg::Register &reg, QWidget *parent)
    : QDialog(parent), m_ctx(ctx), m_reg(reg) {
    setObjectName(QStringLiteral("FormWskProc"));
    setWindowTitle(QStringLiteral("Wskaźnik procentowy"));
    setModal(true);
    m_source.setQuestions(&m_ctx.questions);
    auto *layout = new QVBoxLayout(this);
    auto *label = new QLabel(QStringLiteral("Wysokość wskaźnika procentowgo ustalnego przez radę gminy:"), this);
    DBEWskaznik = new ui::DbLineEdit(this);
    DBEWskaznik->setObjectName(QStringLiteral("DBEWskaznik"));
    DBEWskaznik->setCaption(QStringLiteral("Wskaźnik procentowy"));
    DBEWskaznik->setMaximumWidth(80);
    label->setBuddy(DBEWskaznik);
    auto *line = new QHBoxLayout;
    line->addWidget(label);
    line->addWidget(DBEWskaznik);
    layout->addLayout(line);
    ProgressBar = ui::newWindowBar(this);
    layout->addWidget(ProgressBar);
    QPushButton *cofnij = nullptr;
    QPushButton *ok = addButtons(this, layout, cofnij);
    connect(ok, &QPushButton::clicked, this, &TFormWskProc::ButtonOKClick);
    connect(cofnij, &QPushButton::clicked, this, &TFormWskProc::ButtonCofnijClick);
    ProgressBar->hide();
}

TFormWskProc::~TFormWskProc() { m_source.setTable(nullptr); }

int TFormWskProc::ShowModal() {
    if (!FormShow())
        return QDialog::Rejected;
    return exec();
}

bool TFormWskProc::FormShow() {
    ProgressBar->hide();
    m_source.setTable(nullptr);
    m_param.reset();
    const bool opened = core::guarded(m_ctx.questions, [this] {
        m_param = openParameterRow(m_ctx.db);
        m_remembered = int(m_param->field(QStringLiteral("WskaznikProc")).asInteger());
    });
    if (!opened) {
        m_param.reset();
        return false;
    }
    m_source.setTable(m_param.get());
    DBEWskaznik->bind(&m_source, QStringLiteral("WskaznikProc"));
    m_source.reloadControls();
    DBEWskaznik->setFocus();
    return true;
}

void TFormWskProc::ButtonOKClick() {
    if (!m_param)
        return;
    int value = 0;
    // The text typed goes into the row first; a text that is no number is
    // told as the field's refusal.
    if (!core::guarded(m_ctx.questions, [&] {
            m_source.updateRecord();
            value = int(m_param->field(QStringLiteral("WskaznikProc")).asInteger());
        }))
        return;
    if (!wskaznikInRange(value)) {
        m_ctx.questions.inform(WskaznikOutOfRange);
        return;
    }
    if (!core::guarded(m_ctx.questions, [this] { m_param->post(); }))
        return;
    if (value != m_remembered && m_ctx.questions.confirm(WskaznikRewriteQuestion)) {
        data::Table &view = m_reg.TableWnioski();
        ProgressBar->setValue(0);
        ProgressBar->show();
        core::guarded(m_ctx.questions, [&] {
            if (!view.isOpen())
                m_reg.PokazListeWnioskow();
            ui::BarProgress bar(ProgressBar);
            rewriteWskProc(view, value, &bar);
        });
        ProgressBar->hide();
    }
    accept();
}

void TFormWskProc::ButtonCofnijClick() {
    if (m_param && m_param->isEditing())
        m_param->cancel();
    reject();
}

void TFormWskProc::done(int result) {
    m_source.setTable(nullptr);
    m_param.reset();
    QDialog::done(result);
}

}  // namespace varnel::calc
