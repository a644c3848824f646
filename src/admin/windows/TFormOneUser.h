#pragma once

#include "admin/UserList.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace varnel::admin {

// The user dialog: the name, password and rights of one row of the users
// window. "OK" keeps what was typed, "Cofnij" (also Esc and the close box)
// drops it. The input is kept as typed, without checks.
class TFormOneUser : public QDialog {
    Q_OBJECT
public:
    explicit TFormOneUser(QWidget *parent = nullptr);

    // Shows the row modally; on "OK" the row holds what was typed and true
    // is returned. Texts longer than their field are cut to nameWidth and
    // passWidth characters (0: no limit).
    bool editRow(UserRow &row, int nameWidth = 0, int passWidth = 0);

    QLineEdit *DBENazwa;
    QLineEdit *DBEPassword;
    QCheckBox *DBCBoxModiUsers;
    QCheckBox *DBCBoxModiSlown;
    QPushButton *ButtonOK;
    QPushButton *ButtonCancel;

protected:
    void showEvent(QShowEvent *e) override;
};

}  // namespace varnel::admin
