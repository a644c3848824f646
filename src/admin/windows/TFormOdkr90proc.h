#pragma once

#include "data/Table.h"

#include <QDialog>
#include <functional>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace varnel::core {
struct Context;
}
namespace varnel::reg {
class Register;
}
namespace varnel::ui {
class DataSource;
class DbLineEdit;
}  // namespace varnel::ui

namespace varnel::admin {

// "Odkręć 90%" (modal): converts the rent and the additional charges of the
// applications whose period starts on or after a date back from the 90%
// entered under version 1.13, by 10/9. The date is Wzor_OkresOd of the
// parameter row, editable for this run only (never stored). "OK" converts
// the table the register shows once and is then disabled, so that one
// opening cannot convert twice; "Cofnij" closes.
class TFormOdkr90proc : public QDialog {
    Q_OBJECT
public:
    TFormOdkr90proc(core::Context &ctx, reg::Register &reg, QWidget *parent = nullptr);

    // F1 asks for the help topic of the database copy.
    std::function<void(int topic)> showHelp;

    QLabel *Label1;
    ui::DbLineEdit *DBEOkresOd;
    QPlainTextEdit *Memo1;
    QPushButton *ButtonOK;
    QPushButton *ButtonCofnij;
    QProgressBar *ProgressBar;

    void ButtonOKClick();
    // Closing closes the parameter table without saving the date.
    void done(int result) override;

protected:
    void showEvent(QShowEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    core::Context &m_ctx;
    reg::Register &m_reg;
    data::Table m_param;
    ui::DataSource *m_source;
};

}  // namespace varnel::admin
