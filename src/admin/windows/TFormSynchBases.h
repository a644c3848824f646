#pragma once

#include "admin/Synchronisation.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace varnel::core {
struct Context;
}
namespace varnel::reg {
class Register;
}

namespace varnel::admin {

// "Synchronizacja baz" (modal): the tables listed in LBoxDest are rebuilt,
// one after the other, to the fields and indexes of the pattern table named
// in EditPattern (admin::synchronise). Tables and pattern are chosen with
// TFormWyborTabeli, from this database or the database of any other
// directory, or typed as a full path. A table that the register shows is
// opened again in the register after its rebuild.
class TFormSynchBases : public QDialog {
    Q_OBJECT
public:
    TFormSynchBases(core::Context &ctx, reg::Register &reg, QWidget *parent = nullptr);

    QPlainTextEdit *Memo1;
    QLineEdit *EditPattern;
    QPushButton *ButtonSource;
    QListWidget *LBoxDest;
    QPushButton *ButtonDestPlus;
    QPushButton *ButtonDestUsun;
    QPushButton *ButtonCopy;
    QProgressBar *ProgressBar;

    void ButtonSourceClick();
    void ButtonDestPlusClick();
    void ButtonDestUsunClick();
    void ButtonCopyClick();

    // Adds a table to the list (an entry already there is not added twice).
    void addDestination(const TableLocation &table);

protected:
    void showEvent(QShowEvent *e) override;

private:
    QVector<TableLocation> chooseTables(bool several);

    core::Context &m_ctx;
    reg::Register &m_reg;
    QString m_dialogDirectory;  // where the next choice of tables starts
};

}  // namespace varnel::admin
