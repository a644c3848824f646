#include "admin/windows/TFormOneUser.h"

#include "data/Table.h"
#include "ui/DataSource.h"
#include "ui/DbControls.h"
#include "core/Guard.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace varnel::admin {

TFormOneUser::TFormOneUser(data::Table &users, core::Questions &questions, QWidget *parent)
    : QDialog(parent), m_users(users), m_questions(questions), m_source(new ui::DataSource(this)) {
    setObjectName(QStringLiteral("TFormOneUser"));
    setWindowTitle(QStringLiteral("Uprawnienia użytkownika"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    m_source->setTable(&m_users);
    m_source->setQuestions(&m_questions);

    auto *labelNazwa = new QLabel(QStringLiteral("Nazwa:"), this);
    DBENazwa = new ui::DbLineEdit(this);
    DBENazwa->setObjectName(QStringLiteral("DBENazwa"));
    DBENazwa->bind(m_source, QStringLiteral("User"));
    labelNazwa->setBuddy(DBENazwa);

    auto *labelPassword = new QLabel(QStringLiteral("Hasło"), this);
    DBEPassword = new ui::DbLineEdit(this);
    DBEPassword->setObjectName(QStringLiteral("DBEPassword"));
    DBEPassword->bind(m_source, QStringLiteral("Pass"));  // shown in clear
    labelPassword->setBuddy(DBEPassword);

    DBCBoxModiUsers = new ui::DbCheckBox(QStringLiteral("Modyfikacja użytkowników"), this);
    DBCBoxModiUsers->setObjectName(QStringLiteral("DBCBoxModiUsers"));
    DBCBoxModiUsers->bind(m_source, QStringLiteral("ModiUsers"));
    DBCBoxModiSlown = new ui::DbCheckBox(QStringLiteral("Modyfikacja słowników"), this);
    DBCBoxModiSlown->setObjectName(QStringLiteral("DBCBoxModiSlown"));
    DBCBoxModiSlown->bind(m_source, QStringLiteral("ModiDict"));

    ButtonOK = new QPushButton(QStringLiteral("OK"), this);
    ButtonOK->setObjectName(QStringLiteral("ButtonOK"));
    ButtonOK->setDefault(true);
    ButtonCancel = new QPushButton(QStringLiteral("Cofnij"), this);
    ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));
    ButtonCancel->setAutoDefault(false);

    auto *fields = new QGridLayout;
    fields->addWidget(labelNazwa, 0, 0);
    fields->addWidget(DBENazwa, 0, 1);
    fields->addWidget(labelPassword, 1, 0);
    fields->addWidget(DBEPassword, 1, 1);
    fields->setColumnMinimumWidth(1, 200);
    fields->addWidget(DBCBoxModiUsers, 2, 1);
    fields->addWidget(DBCBoxModiSlown, 3, 1);
    fields->setRowMinimumHeight(2, 30);
    fields->setAlignment(DBCBoxModiUsers, Qt::AlignBottom);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ButtonOK);
    buttons->addWidget(ButtonCancel);
    buttons->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 18, 20, 14);
    layout->setSpacing(16);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());

    connect(ButtonOK, &QPushButton::clicked, this, &TFormOneUser::ButtonOKClick);
    connect(ButtonCancel, &QPushButton::clicked, this, &TFormOneUser::reject);
}

void TFormOneUser::showEvent(QShowEvent *e) {
    m_source->reloadControls();
    DBENazwa->setFocus();
    DBENazwa->selectAll();
    QDialog::showEvent(e);
}

void TFormOneUser::ButtonOKClick() {
    // A row that cannot be posted is told; the dialog stays open.
    if (core::guarded(m_questions, [&] { m_users.post(); }))
        accept();
}

void TFormOneUser::reject() {
    core::guarded(m_questions, [&] { m_users.cancel(); });
    QDialog::reject();
}

}  // namespace varnel::admin
