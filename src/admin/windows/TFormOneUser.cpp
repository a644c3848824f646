#include "admin/windows/TFormOneUser.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace varnel::admin {

TFormOneUser::TFormOneUser(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TFormOneUser"));
    setWindowTitle(QStringLiteral("Uprawnienia użytkownika"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    auto *labelNazwa = new QLabel(QStringLiteral("Nazwa:"), this);
    DBENazwa = new QLineEdit(this);
    DBENazwa->setObjectName(QStringLiteral("DBENazwa"));
    labelNazwa->setBuddy(DBENazwa);

    auto *labelPassword = new QLabel(QStringLiteral("Hasło"), this);
    DBEPassword = new QLineEdit(this);  // shown in clear
    DBEPassword->setObjectName(QStringLiteral("DBEPassword"));
    labelPassword->setBuddy(DBEPassword);

    DBCBoxModiUsers = new QCheckBox(QStringLiteral("Modyfikacja użytkowników"), this);
    DBCBoxModiUsers->setObjectName(QStringLiteral("DBCBoxModiUsers"));
    DBCBoxModiSlown = new QCheckBox(QStringLiteral("Modyfikacja słowników"), this);
    DBCBoxModiSlown->setObjectName(QStringLiteral("DBCBoxModiSlown"));

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

    connect(ButtonOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool TFormOneUser::editRow(UserRow &row, int nameWidth, int passWidth) {
    DBENazwa->setMaxLength(nameWidth > 0 ? nameWidth : 32767);
    DBEPassword->setMaxLength(passWidth > 0 ? passWidth : 32767);
    DBENazwa->setText(row.user);
    DBEPassword->setText(row.pass);
    DBCBoxModiUsers->setChecked(row.modiUsers);
    DBCBoxModiSlown->setChecked(row.modiDict);
    if (exec() != QDialog::Accepted)
        return false;
    row.user = DBENazwa->text();
    row.pass = DBEPassword->text();
    row.modiUsers = DBCBoxModiUsers->isChecked();
    row.modiDict = DBCBoxModiSlown->isChecked();
    return true;
}

void TFormOneUser::showEvent(QShowEvent *e) {
    DBENazwa->setFocus();
    DBENazwa->selectAll();
    QDialog::showEvent(e);
}

}  // namespace varnel::admin
