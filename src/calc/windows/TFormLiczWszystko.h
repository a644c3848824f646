#pragma once

#include "calc/BulkRecalc.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace varnel::core {
struct Context;
}
namespace varnel::reg {
class Register;
}

namespace varnel::calc {

// "Naliczanie wyskości dodatków": the window of the bulk recalculation
// ("Operacje" › "Przelicz dodatki"), shown without waiting, on top of the
// other windows, with no title-bar buttons. Its bar follows the record being
// computed and its list keeps every application whose calculation gave no
// valid result. When every application is valid it hides itself at the end;
// otherwise it stays until "Zamknij".
class TFormLiczWszystko : public QDialog {
    Q_OBJECT
public:
    TFormLiczWszystko(core::Context &ctx, reg::Register &reg, QWidget *parent = nullptr);

    // SMnuPrzeliczDodClick: every application of the register computed by
    // the current rules in surname order (the register stays in that order),
    // each kept as computed, so a run stopped by "Przerwij" or by a failure
    // keeps the ones before; the register is re-read at the end.
    BulkRecalcResult SMnuPrzeliczDodClick();

    // Where the calculation's questions appear: at the window's lower left
    // edge.
    QPoint dialogPosition() const;
    QStringList failedApplications() const;

    QLabel *Label1 = nullptr;
    QListWidget *ListBoxBledy = nullptr;
    QPushButton *ButtonZakoncz = nullptr;
    QProgressBar *ProgressBar = nullptr;

private:
    core::Context &m_ctx;
    reg::Register &m_reg;
};

}  // namespace varnel::calc
