#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace varnel::admin {

// The service password window: the service tools open only when it reports
// success. A wrong password is told in the window, which stays open.
class TFormHaslo : public QDialog {
    Q_OBJECT
public:
    explicit TFormHaslo(QWidget *parent = nullptr);

    // Shows the window modally; true when the service password was given.
    bool run();
    bool succeeded() const { return m_success; }

    QLineEdit *EditPass;
    QLabel *LabelOK;
    QPushButton *ButtonPassOK;
    QPushButton *ButtonPassEsc;

protected:
    void showEvent(QShowEvent *e) override;

private:
    void ButtonPassOKClick();

    bool m_success = false;
};

}  // namespace varnel::admin
