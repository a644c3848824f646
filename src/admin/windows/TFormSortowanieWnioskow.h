#pragma once

#include "data/Table.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace varnel::core {
struct Context;
}
namespace varnel::ui {
class DataSource;
class DbLineEdit;
}  // namespace varnel::ui

namespace varnel::admin {

// The choice of the decision-number sort algorithm (service menu "Algorytm
// sortowania wniosków"), modal. Opening puts the parameter row into editing;
// closing, however it is closed, saves the row and makes the stored value
// the algorithm in force for the rest of the run. The value is not checked.
class TFormSortowanieWnioskow : public QDialog {
    Q_OBJECT
public:
    TFormSortowanieWnioskow(core::Context &ctx, QWidget *parent = nullptr);

    ui::DbLineEdit *DBEAlgSort;
    QPushButton *ButtonOK;

    // A row the engine refuses keeps the window open to be corrected.
    void done(int result) override;

protected:
    void showEvent(QShowEvent *e) override;

private:
    core::Context &m_ctx;
    data::Table m_param;
    ui::DataSource *m_source;
};

}  // namespace varnel::admin
