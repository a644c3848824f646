#include "admin/windows/TFormHaslo.h"

#include "admin/Login.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace varnel::admin {

TFormHaslo::TFormHaslo(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TFormHaslo"));
    setWindowTitle(QStringLiteral("Wprowadzanie hasła"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    auto *label = new QLabel(QStringLiteral("Hasło:"), this);
    EditPass = new QLineEdit(this);
    EditPass->setObjectName(QStringLiteral("EditPass"));
    EditPass->setEchoMode(QLineEdit::Password);
    EditPass->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 35; }"));  // '#'
    label->setBuddy(EditPass);

    LabelOK = new QLabel(this);
    LabelOK->setObjectName(QStringLiteral("LabelOK"));
    LabelOK->setAlignment(Qt::AlignCenter);
    QFont bold = LabelOK->font();
    bold.setBold(true);
    LabelOK->setFont(bold);
    LabelOK->setStyleSheet(QStringLiteral("QLabel { color: #b00000; }"));
    LabelOK->setMinimumHeight(LabelOK->fontMetrics().height());

    ButtonPassOK = new QPushButton(QStringLiteral("OK"), this);
    ButtonPassOK->setObjectName(QStringLiteral("ButtonPassOK"));
    ButtonPassOK->setDefault(true);
    ButtonPassEsc = new QPushButton(QStringLiteral("Esc"), this);
    ButtonPassEsc->setObjectName(QStringLiteral("ButtonPassEsc"));
    ButtonPassEsc->setAutoDefault(false);

    auto *entry = new QHBoxLayout;
    entry->addWidget(label);
    entry->addWidget(EditPass, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ButtonPassOK);
    buttons->addWidget(ButtonPassEsc);
    buttons->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 18, 20, 14);
    layout->setSpacing(10);
    layout->addLayout(entry);
    layout->addWidget(LabelOK);
    layout->addLayout(buttons);
    EditPass->setMinimumWidth(180);
    setFixedSize(sizeHint());

    connect(ButtonPassOK, &QPushButton::clicked, this, &TFormHaslo::ButtonPassOKClick);
    // Esc (the key and the button) closes without success.
    connect(ButtonPassEsc, &QPushButton::clicked, this, &TFormHaslo::reject);
}

bool TFormHaslo::run() {
    exec();
    return m_success;
}

void TFormHaslo::showEvent(QShowEvent *e) {
    LabelOK->clear();
    m_success = false;
    // The window is used again later: an earlier entry is not offered again.
    EditPass->clear();
    EditPass->setFocus();
    QDialog::showEvent(e);
}

void TFormHaslo::ButtonPassOKClick() {
    if (isServicePassword(EditPass->text())) {
        m_success = true;
        accept();
    } else {
        LabelOK->setText(QStringLiteral("Błędne hasło!"));
    }
}

}  // namespace varnel::admin
