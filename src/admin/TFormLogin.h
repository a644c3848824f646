#pragma once

#include "admin/Login.h"
#include "app/Context.h"

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
    explicit TFormLogin(app::Context &ctx, QWidget *parent = nullptr);

    // Shows the window modally. Returns logged-in; when logged in, the
    // user's rights are also kept in the context's run values.
    bool run();

    bool loggedIn() const { return m_loggedIn; }
    bool cancelled() const { return m_cancelled; }
    app::Rights rights() const { return m_rights; }

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

    app::Context &m_ctx;
    bool m_loggedIn = false;
    bool m_cancelled = false;
    app::Rights m_rights;
};

}  // namespace varnel::admin
