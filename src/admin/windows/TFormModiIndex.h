#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace varnel::core {
struct Context;
}
namespace varnel::reg {
class Register;
}

namespace varnel::admin {

// Rebuilding of every decision-number sort key of the register (main menu
// "Indeksuj wg n-rów decyzji", service menu "Indeksuj numery pomocnicze"),
// modal. "Start" makes algorithm 2 the one in force, stored and for the run,
// rebuilds the keys of the table the register shows, which is left on its
// primary index (the register's order then names no sort button), and
// closes the window.
class TFormModiIndex : public QDialog {
    Q_OBJECT
public:
    // reg: the register, whose open view of the application table in use is
    // rebuilt.
    TFormModiIndex(core::Context &ctx, reg::Register &reg, QWidget *parent = nullptr);

    QLabel *Label1;
    QLabel *Label2;
    QProgressBar *ProgressBar;
    QPushButton *ButtonStart;

    void ButtonStartClick();

protected:
    void showEvent(QShowEvent *e) override;

private:
    core::Context &m_ctx;
    reg::Register &m_register;
};

}  // namespace varnel::admin
