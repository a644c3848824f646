#pragma once

#include "data/Table.h"

#include <QDialog>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;

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

struct FieldSetting;

// The "Ustaw pole" window (modal) of the menu "Inicjacja pól": one field set
// to the same value in every application of the table the register shows.
// Kinds 1 to 4 choose the value in RGroup ("wartość TAK" / "wartość NIE");
// kinds 5 and 6 write the kWh cost or the lowest pension of the parameter
// row, shown and editable in DBEVal for this run only (closing the window
// never stores it). "Działaj" may be pressed again; "Cofnij" closes.
class TFormRyczaltDoRak : public QDialog {
    Q_OBJECT
public:
    TFormRyczaltDoRak(core::Context &ctx, reg::Register &reg, QWidget *parent = nullptr);

    // Set before showing: 1 to 6 (see admin::fieldSetting).
    void setKind(int kind);
    int kind() const { return m_kind; }

    QGroupBox *RGroup;
    QRadioButton *RButtonTak;
    QRadioButton *RButtonNie;
    QWidget *PanelVal;
    QLabel *LabelVal;
    ui::DbLineEdit *DBEVal;
    QPushButton *ButtonDzialaj;
    QPushButton *ButtonCofnij;
    QProgressBar *ProgressBar;

    void ButtonDzialajClick();
    // Closing closes the parameter table without saving it.
    void done(int result) override;

protected:
    void showEvent(QShowEvent *e) override;

private:
    const FieldSetting &setting() const;

    core::Context &m_ctx;
    reg::Register &m_reg;
    data::Table m_param;
    ui::DataSource *m_source;
    int m_kind = 1;
};

}  // namespace varnel::admin
