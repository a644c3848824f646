#include "admin/windows/TFormSortowanieWnioskow.h"

#include "core/Context.h"
#include "ui/DataSource.h"
#include "ui/DbControls.h"
#include "core/Guard.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace varnel::admin {

TFormSortowanieWnioskow::TFormSortowanieWnioskow(core::Context &ctx, QWidget *parent)
    : QDialog(parent), m_ctx(ctx), m_param(ctx.db, QStringLiteral("param.db")), m_source(new ui::DataSource(this)) {
    setObjectName(QStringLiteral("TFormSortowanieWnioskow"));
    setWindowTitle(QStringLiteral("FormSortowanieWnioskow"));
    m_source->setTable(&m_param);
    m_source->setQuestions(&ctx.questions);

    auto *label = new QLabel(QStringLiteral("Algorytm nr"), this);
    DBEAlgSort = new ui::DbLineEdit(this);
    DBEAlgSort->setObjectName(QStringLiteral("DBEAlgSort"));
    DBEAlgSort->bind(m_source, QStringLiteral("AlgorytmSortowania"));
    DBEAlgSort->setFixedWidth(DBEAlgSort->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);
    label->setBuddy(DBEAlgSort);
    auto *one = new QLabel(QStringLiteral("1 - sortowanie wg ASCII"), this);
    auto *two = new QLabel(QStringLiteral("2 - pobiera bez wzorca decyzji i początkowego slasha aż do drugiego slasha "),
                           this);
    ButtonOK = new QPushButton(QStringLiteral("OK"), this);
    ButtonOK->setObjectName(QStringLiteral("ButtonOK"));
    ButtonOK->setDefault(true);

    auto *grid = new QGridLayout;
    grid->addWidget(label, 0, 0);
    grid->addWidget(DBEAlgSort, 0, 1, Qt::AlignLeft);
    grid->addWidget(one, 1, 1);
    grid->addWidget(two, 2, 1);
    grid->setColumnStretch(1, 1);
    grid->setHorizontalSpacing(12);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ButtonOK);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(10);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(ButtonOK, &QPushButton::clicked, this, &QDialog::accept);
}

void TFormSortowanieWnioskow::showEvent(QShowEvent *e) {
    QDialog::showEvent(e);
    core::guarded(m_ctx.questions, [&] {
        if (!m_param.isOpen())
            m_param.open();
        m_param.first();
        m_param.edit();
    });
    DBEAlgSort->setFocus();
    DBEAlgSort->selectAll();
}

void TFormSortowanieWnioskow::done(int result) {
    const bool saved = core::guarded(m_ctx.questions, [&] {
        if (!m_param.isOpen())
            return;
        m_param.post();
        m_ctx.values.sortAlgorithm = int(m_param.field(QStringLiteral("AlgorytmSortowania")).asInteger());
        m_param.close();
    });
    if (saved)
        QDialog::done(result);
}

}  // namespace varnel::admin
