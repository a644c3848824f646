#pragma once

#include "core/Progress.h"

#include <QDialog>
#include <functional>

class QAction;
class QMenu;
class QMenuBar;

namespace varnel::core {
struct Context;
}
namespace varnel::reg {
class Register;
}

namespace varnel::admin {

// The service window (caption "FormSerwis", modal), opened from "Serwis"
// once the service password was given. It has only its menu bar: "Korekty"
// (area rounding, the decision-number keys, the synchronisation of tables,
// undoing the 90% rent) and "Inicjacja pól" (one field set in every
// application, the sort algorithm). Every tool works on the table the
// register shows: the current applications or the archive shown.
class TFormSerwis : public QDialog {
    Q_OBJECT
public:
    // progress: the progress window of the area rounding.
    TFormSerwis(core::Context &ctx, reg::Register &reg, core::ProgressFactory progress, QWidget *parent = nullptr);

    // Help topics asked for by the windows opened here (F1).
    std::function<void(int topic)> showHelp;

    QMenuBar *MainMenu;
    QMenu *MnuKorekty;
    QMenu *MnuInicjacja;
    QAction *SMnuPowUzytk;
    QAction *SMnuIndeksuj;
    QAction *SMnuSynchBases;
    QAction *SMnuOdkr90;
    QAction *SMnuRyczaltDoRak;
    QAction *SMnuAlgorytmSortowania;
    QAction *SMnuPowKuchni;
    QAction *SMnuRyczaltGaz;
    QAction *SMnuCaloscDoRak;
    QAction *SMnuKosztKwh;
    QAction *SMnuNajnEmeryt;

    // "Pow.użytk. (zaokrąglenia)": asks, then rounds every usable area.
    void SMnuPowUzytkClick();
    // The field-setting window of a kind (1 to 6).
    void UstawPoleClick(int kind);

private:
    QAction *addItem(QMenu *menu, const QString &objectName, const QString &caption, std::function<void()> handler);

    core::Context &m_ctx;
    reg::Register &m_reg;
    core::ProgressFactory m_progress;
};

}  // namespace varnel::admin
