#pragma once

#include "core/Context.h"

#include <QDialog>
#include <memory>

class QPushButton;

namespace varnel::data {
class Database;
class Table;
}  // namespace varnel::data
namespace varnel::ui {
class DataGrid;
}

namespace varnel::admin {

class TFormOneUser;

// The users window. It works on "uspass" through a connection of its own in
// one transaction: the rest of the program sees nothing of its changes until
// "OK" commits them. Closing it any other way asks whether to drop the
// changes; "Nie" keeps it open with its changes.
class TFormUsers : public QDialog {
    Q_OBJECT
public:
    explicit TFormUsers(core::Context &ctx, QWidget *parent = nullptr);
    ~TFormUsers() override;

    // Opens the window's connection, starts its transaction and opens the
    // user table on it. A failure is told and leaves no session (false).
    bool openSession();
    // openSession, then the window modally.
    void run();

    bool inSession() const { return m_users != nullptr; }
    data::Table *users() const { return m_users.get(); }
    TFormOneUser *oneUserDialog() const { return m_oneUser; }

    ui::DataGrid *DBGrid1;
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
    void showUser();
    void endSession();

    core::Context &m_ctx;
    std::unique_ptr<data::Database> m_connection;
    std::unique_ptr<data::Table> m_users;
    TFormOneUser *m_oneUser = nullptr;
};

}  // namespace varnel::admin
