#include "totals/windows/TFormOkres.h"

#include "core/Context.h"
#include "core/Guard.h"
#include "core/Questions.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace varnel::totals {

TFormOkres::TFormOkres(core::Context &ctx, QWidget *parent) : QDialog(parent), m_ctx(ctx) {
    setObjectName(QStringLiteral("FormOkres"));
    setWindowTitle(QStringLiteral("Okres"));
    setModal(true);
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    CBoxOd = new QComboBox(this);
    CBoxOd->setObjectName(QStringLiteral("CBoxOd"));
    CBoxDo = new QComboBox(this);
    CBoxDo->setObjectName(QStringLiteral("CBoxDo"));
    for (QComboBox *c : {CBoxOd, CBoxDo})
        c->setMinimumContentsLength(18);
    form->addRow(QStringLiteral("Od:"), CBoxOd);
    form->addRow(QStringLiteral("Do:"), CBoxDo);
    layout->addLayout(form);
    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("ButtonOK"));
    ok->setDefault(true);
    auto *cofnij = new QPushButton(QStringLiteral("Cofnij"), this);
    cofnij->setObjectName(QStringLiteral("ButtonCofnij"));
    cofnij->setAutoDefault(false);
    auto *row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cofnij);
    layout->addLayout(row);
    connect(ok, &QPushButton::clicked, this, &TFormOkres::ButtonOKClick);
    connect(cofnij, &QPushButton::clicked, this, &QDialog::reject);
}

bool TFormOkres::FormShow() {
    m_chosen.reset();
    m_entries.clear();
    CBoxOd->clear();
    CBoxDo->clear();
    if (!core::guarded(m_ctx.questions, [this] { m_entries = calc::readArchiveList(m_ctx.db); }))
        return false;
    for (const calc::ArchiveEntry &e : m_entries) {
        CBoxOd->addItem(e.dataStr);
        CBoxDo->addItem(e.dataStr);
    }
    CBoxOd->setCurrentIndex(int(m_entries.size()) - 1);
    CBoxDo->setCurrentIndex(int(m_entries.size()) - 1);
    return true;
}

std::optional<std::pair<QDate, QDate>> TFormOkres::choose() {
    if (!FormShow())
        return std::nullopt;
    exec();
    m_entries.clear();
    return m_chosen;
}

void TFormOkres::ButtonOKClick() {
    const int od = CBoxOd->currentIndex();
    const int doo = CBoxDo->currentIndex();
    if (doo < od) {
        m_ctx.questions.inform(QStringLiteral("Nielogiczne następstwo dat!"));
        return;
    }
    if (od < 0 || doo >= m_entries.size()) {
        // An empty archive list offers no month to total.
        m_ctx.questions.inform(QStringLiteral("Archiwum nie zawiera żadnego miesiąca."));
        return;
    }
    m_chosen = std::pair(m_entries[od].key, m_entries[doo].key);
    accept();
}

}  // namespace varnel::totals
