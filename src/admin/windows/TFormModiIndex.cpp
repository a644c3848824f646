#include "admin/windows/TFormModiIndex.h"

#include "admin/DecisionKey.h"
#include "core/Context.h"
#include "data/Table.h"
#include "core/Guard.h"
#include "register/Register.h"
#include "ui/BarProgress.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace varnel::admin {

TFormModiIndex::TFormModiIndex(core::Context &ctx, reg::Register &reg, QWidget *parent)
    : QDialog(parent), m_ctx(ctx), m_register(reg) {
    setObjectName(QStringLiteral("TFormModiIndex"));
    setWindowTitle(QStringLiteral("Modyfikacja indeksu"));

    Label1 = new QLabel(QStringLiteral("Funkcja pozwala prawidłowo uporządkować listę wniosków wg nru decyzji."), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2 = new QLabel(QStringLiteral("Po zakończeniu indeksowania należy ponownie uruchomić program."), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    ProgressBar = new QProgressBar(this);
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    ProgressBar->setTextVisible(false);
    ButtonStart = new QPushButton(QStringLiteral("Start"), this);
    ButtonStart->setObjectName(QStringLiteral("ButtonStart"));
    ButtonStart->setDefault(true);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ButtonStart);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Label2);
    layout->addSpacing(6);
    layout->addWidget(ProgressBar);
    layout->addLayout(buttons);
    setMinimumWidth(Label1->sizeHint().width() + 40);
    // The bar comes and goes without moving the button.
    auto policy = ProgressBar->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    ProgressBar->setSizePolicy(policy);

    connect(ButtonStart, &QPushButton::clicked, this, &TFormModiIndex::ButtonStartClick);
}

void TFormModiIndex::showEvent(QShowEvent *e) {
    QDialog::showEvent(e);
    ProgressBar->hide();
}

void TFormModiIndex::ButtonStartClick() {
    ProgressBar->setValue(0);
    ProgressBar->show();
    ButtonStart->setEnabled(false);
    const bool done = core::guarded(m_ctx.questions, [&] {
        storeSortAlgorithm(m_ctx.db, SortByRunningNumber);
        m_ctx.values.sortAlgorithm = SortByRunningNumber;
        ui::BarProgress bar(ProgressBar);
        rebuildDecisionKeys(m_register.TableWnioski(), m_ctx.values.decisionPattern, &bar);
    });
    ButtonStart->setEnabled(true);
    // The walk put the view on its primary index, also when it failed.
    core::guarded(m_ctx.questions, [&] { m_register.primaryIndexInForce(); });
    if (done)
        accept();
    else
        ProgressBar->hide();
}

}  // namespace varnel::admin
