#pragma once

#include "admin/Login.h"
#include "admin/Rights.h"
#include "core/Context.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace varnel::admin {

// The log-in window: a user name and a password checked against "uspass".
// OK closes it whatever the check gave; when neither logged in nor cancelled
// it tells that the password or the name was wrong as it closes.
class TFormLogin : public QDialog {
    Q_OBJECT
public:
    explicit TFormLogin(core::Context &ctx, QWidget *parent = nullptr);

    // Shows the window modally. Returns logged-in; when logged in, the
    // user's rights are then at rights().
    bool run();

    bool loggedIn() const { return m_loggedIn; }
    bool cancelled() const { return m_cancelled; }
    admin::Rights rights() const { return m_rights; }

    QLineEdit *EditNazwa;
    QLineEdit *EditPassword;
    QPushButton *ButtonOK;
    QPushButton *ButtonCancel;

public slots:
    void done(int r) override;

protected:
    void showEvent(QShowEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    void ButtonOKClick();
    void ButtonCancelClick();

    core::Context &m_ctx;
    bool m_loggedIn = false;
    bool m_cancelled = false;
    admin::Rights m_rights;
};

}  // namespace varnel::admin
