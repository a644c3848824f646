#pragma once

#include <QDialog>

class QPushButton;

namespace varnel::data {
class Table;
}
namespace varnel::core {
class Questions;
}
namespace varnel::ui {
class DataSource;
class DbLineEdit;
class DbCheckBox;
}  // namespace varnel::ui

namespace varnel::admin {

// The user dialog: the name, password and rights of the current row of the
// users window's table, which the caller has put into editing or inserting.
// "OK" posts the row, "Cofnij" (also Esc and the close box) cancels its
// changes. The input is stored as typed, without checks. The table must
// outlive the dialog.
class TFormOneUser : public QDialog {
    Q_OBJECT
public:
    TFormOneUser(data::Table &users, core::Questions &questions, QWidget *parent = nullptr);

    ui::DbLineEdit *DBENazwa;
    ui::DbLineEdit *DBEPassword;
    ui::DbCheckBox *DBCBoxModiUsers;
    ui::DbCheckBox *DBCBoxModiSlown;
    QPushButton *ButtonOK;
    QPushButton *ButtonCancel;

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent *e) override;

private:
    void ButtonOKClick();

    data::Table &m_users;
    core::Questions &m_questions;
    ui::DataSource *m_source;
};

}  // namespace varnel::admin
