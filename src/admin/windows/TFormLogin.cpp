#include "admin/windows/TFormLogin.h"

#include "core/Guard.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace varnel::admin {

TFormLogin::TFormLogin(core::Context &ctx, QWidget *parent) : QDialog(parent), m_ctx(ctx) {
    setObjectName(QStringLiteral("TFormLogin"));
    setWindowTitle(QStringLiteral(" Varnel   ver. 1.18b"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    auto *labelNazwa = new QLabel(QStringLiteral("Nazwa użytkownika:"), this);
    labelNazwa->setObjectName(QStringLiteral("LabelNazwa"));
    EditNazwa = new QLineEdit(this);
    EditNazwa->setObjectName(QStringLiteral("EditNazwa"));
    labelNazwa->setBuddy(EditNazwa);

    auto *labelPassword = new QLabel(QStringLiteral("Hasło:"), this);
    labelPassword->setObjectName(QStringLiteral("LabelPassword"));
    EditPassword = new QLineEdit(this);
    EditPassword->setObjectName(QStringLiteral("EditPassword"));
    EditPassword->setEchoMode(QLineEdit::Password);
    EditPassword->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));  // '*'
    labelPassword->setBuddy(EditPassword);

    ButtonOK = new QPushButton(QStringLiteral("OK"), this);
    ButtonOK->setObjectName(QStringLiteral("ButtonOK"));
    ButtonOK->setDefault(true);
    ButtonCancel = new QPushButton(QStringLiteral("Cofnij"), this);
    ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));
    ButtonCancel->setAutoDefault(false);

    auto *fields = new QGridLayout;
    fields->addWidget(labelNazwa, 0, 0);
    fields->addWidget(EditNazwa, 0, 1);
    fields->addWidget(labelPassword, 1, 0);
    fields->addWidget(EditPassword, 1, 1);
    fields->setColumnMinimumWidth(1, 180);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ButtonOK);
    buttons->addWidget(ButtonCancel);
    buttons->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 14);
    layout->setSpacing(16);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());

    connect(ButtonOK, &QPushButton::clicked, this, &TFormLogin::ButtonOKClick);
    connect(ButtonCancel, &QPushButton::clicked, this, &TFormLogin::ButtonCancelClick);
}

bool TFormLogin::run() {
    exec();
    return m_loggedIn;
}

void TFormLogin::showEvent(QShowEvent *e) {
    m_loggedIn = false;
    m_cancelled = false;
    m_rights = admin::Rights{};
    EditNazwa->setFocus();
    QDialog::showEvent(e);
}

void TFormLogin::keyPressEvent(QKeyEvent *e) {
    // Esc is the "Cofnij" button; the close box is not.
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
        ButtonCancel->click();
        return;
    }
    QDialog::keyPressEvent(e);
}

void TFormLogin::ButtonOKClick() {
    // A user table that cannot be read is told; the window stays open.
    const bool checked = core::guarded(m_ctx.questions, [&] {
        const LoginResult r = checkLogin(m_ctx.db, EditNazwa->text(), EditPassword->text());
        m_loggedIn = r.loggedIn;
        m_rights = r.rights;
        if (r.loggedIn)
            m_ctx.values.userName = r.userName;  // for the metric line of decisions
    });
    if (checked)
        accept();
}

void TFormLogin::ButtonCancelClick() {
    m_cancelled = true;
    reject();
}

void TFormLogin::done(int r) {
    if (!m_loggedIn && !m_cancelled)
        m_ctx.questions.inform(FailedLoginText);
    QDialog::done(m_loggedIn ? QDialog::Accepted : QDialog::Rejected);
}

}  // namespace varnel::admin
