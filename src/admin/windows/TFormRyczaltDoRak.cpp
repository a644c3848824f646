#include "admin/windows/TFormRyczaltDoRak.h"

#include "admin/ServiceTools.h"
#include "core/Context.h"
#include "core/DbError.h"
#include "core/Guard.h"
#include "core/Questions.h"
#include "register/Register.h"
#include "ui/BarProgress.h"
#include "ui/DataSource.h"
#include "ui/DbControls.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace varnel::admin {

TFormRyczaltDoRak::TFormRyczaltDoRak(core::Context &ctx, reg::Register &reg, QWidget *parent)
    : QDialog(parent), m_ctx(ctx), m_reg(reg), m_param(ctx.db, QStringLiteral("param.db")),
      m_source(new ui::DataSource(this)) {
    setObjectName(QStringLiteral("TFormRyczaltDoRak"));
    m_source->setTable(&m_param);
    m_source->setQuestions(&ctx.questions);

    RGroup = new QGroupBox(QStringLiteral("Ustaw we wszystkich wnioskach"), this);
    RGroup->setObjectName(QStringLiteral("RGroup"));
    RButtonTak = new QRadioButton(QStringLiteral("wartość TAK"), RGroup);
    RButtonNie = new QRadioButton(QStringLiteral("wartość NIE"), RGroup);
    auto *group = new QButtonGroup(RGroup);
    group->addButton(RButtonTak, 0);
    group->addButton(RButtonNie, 1);
    RButtonTak->setChecked(true);
    auto *radios = new QVBoxLayout(RGroup);
    radios->addWidget(RButtonTak);
    radios->addWidget(RButtonNie);

    PanelVal = new QWidget(this);
    PanelVal->setObjectName(QStringLiteral("PanelVal"));
    LabelVal = new QLabel(QStringLiteral("Wprowadź wartość:"), PanelVal);
    DBEVal = new ui::DbLineEdit(PanelVal);
    DBEVal->setObjectName(QStringLiteral("DBEVal"));
    LabelVal->setBuddy(DBEVal);
    auto *value = new QHBoxLayout(PanelVal);
    value->setContentsMargins(0, 0, 0, 0);
    value->addWidget(LabelVal);
    value->addWidget(DBEVal, 1);

    ProgressBar = ui::newWindowBar(this);

    ButtonDzialaj = new QPushButton(QStringLiteral("Działaj"), this);
    ButtonDzialaj->setObjectName(QStringLiteral("ButtonDzialaj"));
    ButtonDzialaj->setDefault(true);
    ButtonCofnij = new QPushButton(QStringLiteral("Cofnij"), this);
    ButtonCofnij->setObjectName(QStringLiteral("ButtonCofnij"));
    ButtonCofnij->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ButtonDzialaj);
    buttons->addWidget(ButtonCofnij);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(RGroup);
    layout->addWidget(PanelVal);
    layout->addWidget(ProgressBar);
    layout->addLayout(buttons);
    setMinimumWidth(360);

    connect(ButtonDzialaj, &QPushButton::clicked, this, &TFormRyczaltDoRak::ButtonDzialajClick);
    connect(ButtonCofnij, &QPushButton::clicked, this, &QDialog::reject);
}

void TFormRyczaltDoRak::setKind(int kind) {
    if (fieldSetting(kind))
        m_kind = kind;
}

const FieldSetting &TFormRyczaltDoRak::setting() const { return *fieldSetting(m_kind); }

void TFormRyczaltDoRak::showEvent(QShowEvent *e) {
    const FieldSetting &s = setting();
    setWindowTitle(s.caption);
    PanelVal->setVisible(s.fromParameter());
    RGroup->setVisible(!s.fromParameter());
    ProgressBar->hide();
    core::guarded(m_ctx.questions, [&] {
        if (!m_param.isOpen())
            m_param.open();
        m_param.first();
    });
    if (s.fromParameter()) {
        DBEVal->bind(m_source, s.parameter);
        DBEVal->setFocus();
    }
    adjustSize();
    QDialog::showEvent(e);
}

void TFormRyczaltDoRak::ButtonDzialajClick() {
    const FieldSetting &s = setting();
    QVariant value;
    if (s.fromParameter()) {
        const bool read = core::guarded(m_ctx.questions, [&] {
            m_source->updateRecord();  // what was typed in DBEVal
            if (!m_param.isOpen() || m_param.isEmpty())
                throw core::DbError(QStringLiteral("Tabela parametrów (param) nie ma wiersza z wartością do wpisania."));
            value = m_param.field(s.parameter).asVariant();
        });
        if (!read)
            return;
        // A blank would wipe the field of every application.
        if (value.isNull()) {
            m_ctx.questions.inform(QStringLiteral("Wprowadź wartość, którą ma dostać każdy wniosek."));
            DBEVal->setFocus();
            return;
        }
    } else {
        value = s.choiceValue(RButtonTak->isChecked());
    }

    ProgressBar->setValue(0);
    ProgressBar->show();
    ButtonDzialaj->setEnabled(false);
    core::guarded(m_ctx.questions, [&] {
        ui::BarProgress bar(ProgressBar);
        UstawPole(m_reg.TableWnioski(), s.field, value, &bar);
    });
    ButtonDzialaj->setEnabled(true);
    ProgressBar->hide();
}

void TFormRyczaltDoRak::done(int result) {
    DBEVal->bind(nullptr, QString());
    if (m_param.isOpen())
        m_param.close();  // a value typed for the run is not stored
    QDialog::done(result);
}

}  // namespace varnel::admin
