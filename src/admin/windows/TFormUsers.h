#pragma once

#include "admin/UserList.h"
#include "core/Context.h"

#include <QDialog>

class QPushButton;
class QStandardItemModel;
class QTableView;

namespace varnel::admin {

class TFormOneUser;

// The users window. The changes of one opening are kept or dropped
// together: they stay in the window (UserList) until "OK" writes them all
// in one short transaction, so the database is not locked while the window
// is open and the rest of the program sees nothing of them before. Closing
// it any other way asks whether to drop the changes; "Nie" keeps it open
// with its changes.
class TFormUsers : public QDialog {
    Q_OBJECT
public:
    explicit TFormUsers(core::Context &ctx, QWidget *parent = nullptr);
    ~TFormUsers() override;

    // Reads the user table into the window. A failure is told and leaves no
    // session (false).
    bool openSession();
    // openSession, then the window modally.
    void run();

    bool inSession() const { return m_inSession; }
    const UserList &users() const { return m_users; }
    TFormOneUser *oneUserDialog() const { return m_oneUser; }

    QTableView *DBGrid1;
    QPushButton *ButtonDodaj;
    QPushButton *ButtonPopraw;
    QPushButton *ButtonUsun;
    QPushButton *ButtonOK;

public slots:
    void reject() override;

private:
    void ButtonDodajClick();
    void ButtonPoprawClick();
    void ButtonUsunClick();
    void ButtonOKClick();
    int currentRow() const;
    void showRows(int current);
    void endSession();

    core::Context &m_ctx;
    UserList m_users;
    bool m_inSession = false;
    QStandardItemModel *m_model;
    TFormOneUser *m_oneUser;
};

}  // namespace varnel::admin
