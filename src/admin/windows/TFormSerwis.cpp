#include "admin/windows/TFormSerwis.h"

#include "admin/ServiceTools.h"
#include "admin/windows/TFormModiIndex.h"
#include "admin/windows/TFormOdkr90proc.h"
#include "admin/windows/TFormRyczaltDoRak.h"
#include "admin/windows/TFormSortowanieWnioskow.h"
#include "admin/windows/TFormSynchBases.h"
#include "core/Context.h"
#include "core/Guard.h"
#include "core/Questions.h"
#include "register/Register.h"

#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>

namespace varnel::admin {

TFormSerwis::TFormSerwis(core::Context &ctx, reg::Register &reg, core::ProgressFactory progress, QWidget *parent)
    : QDialog(parent), m_ctx(ctx), m_reg(reg), m_progress(std::move(progress)) {
    setObjectName(QStringLiteral("TFormSerwis"));
    setWindowTitle(QStringLiteral("FormSerwis"));

    MainMenu = new QMenuBar(this);
    MainMenu->setObjectName(QStringLiteral("MainMenu"));
    MnuKorekty = MainMenu->addMenu(QStringLiteral("Korekty"));
    MnuKorekty->setObjectName(QStringLiteral("MnuKorekty"));
    MnuInicjacja = MainMenu->addMenu(QStringLiteral("Inicjacja pól"));
    MnuInicjacja->setObjectName(QStringLiteral("MnuInicjacja"));

    SMnuPowUzytk = addItem(MnuKorekty, QStringLiteral("SMnuPowUzytk"), QStringLiteral("Pow.użytk. (zaokrąglenia)"),
                           [this] { SMnuPowUzytkClick(); });
    SMnuIndeksuj = addItem(MnuKorekty, QStringLiteral("SMnuIndeksuj"), QStringLiteral("Indeksuj numery pomocnicze"), [this] {
        TFormModiIndex index(m_ctx, m_reg, this);
        index.exec();
    });
    SMnuSynchBases = addItem(MnuKorekty, QStringLiteral("SMnuSynchBases"), QStringLiteral("Synchronizacja baz"), [this] {
        TFormSynchBases synch(m_ctx, m_reg, this);
        synch.exec();
    });
    SMnuOdkr90 = addItem(MnuKorekty, QStringLiteral("SMnuOdkr90"), QStringLiteral("Odkręć 90%"), [this] {
        TFormOdkr90proc odkr(m_ctx, m_reg, this);
        odkr.showHelp = showHelp;
        odkr.exec();
    });

    SMnuRyczaltDoRak = addItem(MnuInicjacja, QStringLiteral("SMnuRyczaltDoRak"),
                               QStringLiteral("Ustaw parametr \"Ryczałt do rąk wnioskod.\""), [this] { UstawPoleClick(1); });
    SMnuAlgorytmSortowania = addItem(MnuInicjacja, QStringLiteral("SMnuAlgorytmSortowania"),
                                     QStringLiteral("Algorytm sortowania wniosków"), [this] {
                                         TFormSortowanieWnioskow sort(m_ctx, this);
                                         sort.exec();
                                     });
    SMnuPowKuchni = addItem(MnuInicjacja, QStringLiteral("SMnuPowKuchni"),
                            QStringLiteral("Inicjuj pole \"Pow.pokoi i kuchni przekr. 60%\""), [this] { UstawPoleClick(2); });
    SMnuRyczaltGaz = addItem(MnuInicjacja, QStringLiteral("SMnuRyczaltGaz"), QStringLiteral("Inicjuj pole \"Ryczałt za gaz\""),
                             [this] { UstawPoleClick(3); });
    SMnuCaloscDoRak = addItem(MnuInicjacja, QStringLiteral("SMnuCaloscDoRak"), QStringLiteral("Inicjuj pole \"Całość do rąk\""),
                              [this] { UstawPoleClick(4); });
    SMnuKosztKwh = addItem(MnuInicjacja, QStringLiteral("SMnuKosztKwh"), QStringLiteral("Inicjuj pole \"Koszt kWh\""),
                           [this] { UstawPoleClick(5); });
    SMnuNajnEmeryt = addItem(MnuInicjacja, QStringLiteral("SMnuNajnEmeryt"),
                             QStringLiteral("Inicjuj pole \"Najniższa emerytura\""), [this] { UstawPoleClick(6); });

    auto *layout = new QVBoxLayout(this);
    layout->setMenuBar(MainMenu);
    layout->addStretch();
    resize(440, 120);
}

QAction *TFormSerwis::addItem(QMenu *menu, const QString &objectName, const QString &caption,
                              std::function<void()> handler) {
    QAction *a = menu->addAction(caption);
    a->setObjectName(objectName);
    connect(a, &QAction::triggered, this, [this, handler = std::move(handler)] { core::guarded(m_ctx.questions, handler); });
    return a;
}

void TFormSerwis::SMnuPowUzytkClick() {
    if (!m_ctx.questions.confirm(AreaRoundingQuestion))
        return;
    std::unique_ptr<core::Progress> progress = m_progress ? m_progress() : nullptr;
    ZaokraglijPowUzytk(m_reg.TableWnioski(), progress.get());
}

void TFormSerwis::UstawPoleClick(int kind) {
    TFormRyczaltDoRak form(m_ctx, m_reg, this);
    form.setKind(kind);
    form.exec();
}

}  // namespace varnel::admin
