#pragma once

#include "calc/AmountParameters.h"
#include "ui/DataSource.h"

#include <QDialog>
#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;

namespace varnel::core {
struct Context;
}
namespace varnel::reg {
class Register;
}
namespace varnel::ui {
class DbLineEdit;
}

namespace varnel::calc {

// The twin windows of "Parametry" › "Kwoty" › "Najniższa emerytura" and
// "Koszt kWh": one edit box bound to the amount of the parameter row while
// the register shows the current applications, or to the archive's entry of
// ArcLista while it shows an archive. "OK" saves the row and refills the
// register's choice lists; "Cofnij" drops the edit. Modal.
class AmountWindow : public QDialog {
    Q_OBJECT
public:
    AmountWindow(core::Context &ctx, reg::Register &reg, Amount amount, QWidget *parent = nullptr);
    ~AmountWindow() override;

    int ShowModal();
    bool FormShow();
    void ButtonOKClick();
    void ButtonCofnijClick();

    ui::DbLineEdit *edit() const { return m_edit; }
    // The row being edited (param or ArcLista), or nullptr when closed.
    data::Table *table() const { return m_row.table.get(); }

public slots:
    void done(int result) override;

protected:
    core::Context &m_ctx;
    reg::Register &m_reg;
    Amount m_amount;
    AmountRow m_row;
    ui::DataSource m_source;
    ui::DbLineEdit *m_edit = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cofnij = nullptr;
};

class TFormEmerytMin : public AmountWindow {
    Q_OBJECT
public:
    explicit TFormEmerytMin(core::Context &ctx, reg::Register &reg, QWidget *parent = nullptr);
    ui::DbLineEdit *DBEMinEmeryt = nullptr;
};

class TFormKosztKwh : public AmountWindow {
    Q_OBJECT
public:
    explicit TFormKosztKwh(core::Context &ctx, reg::Register &reg, QWidget *parent = nullptr);
    ui::DbLineEdit *DBEKwh = nullptr;
};

// "Parametry" › "Kwoty" › "Wskaźnik procentowy": the percentage index of the
// parameter row (also while an archive is shown), 50 to 90. A changed index
// may be written into WskProc of every record of the register, with the
// progress bar of the window; the rewrite is one transaction.
class TFormWskProc : public QDialog {
    Q_OBJECT
public:
    TFormWskProc(core::Context &ctx, reg::Register &reg, QWidget *parent = nullptr);
    ~TFormWskProc() override;

    int ShowModal();
    bool FormShow();
    void ButtonOKClick();
    void ButtonCofnijClick();
    data::Table *table() const { return m_param.get(); }

    ui::DbLineEdit *DBEWskaznik = nullptr;
    QProgressBar *ProgressBar = nullptr;

public slots:
    void done(int result) override;

private:
    core::Context &m_ctx;
    reg::Register &m_reg;
    std::unique_ptr<data::Table> m_param;
    ui::DataSource m_source;
    int m_remembered = 0;
};

}  // namespace varnel::calc
