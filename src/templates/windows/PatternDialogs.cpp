#include "templates/windows/PatternDialogs.h"

#include "core/Context.h"
#include "core/Guard.h"
#include "ui/DataSource.h"
#include "ui/DbControls.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMetaObject>
#include <QPushButton>
#include <QVBoxLayout>

namespace varnel::templates {

ParameterRowDialog::ParameterRowDialog(core::Context &ctx, const QString &objectName, const QString &caption,
                                       bool closeBox, QWidget *parent)
    : QDialog(parent), m_ctx(ctx), m_param(ctx.db, QStringLiteral("param.db")), m_source(new ui::DataSource(this)),
      m_fields(new QGridLayout) {
    setObjectName(objectName);
    setWindowTitle(caption);
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (closeBox)
        flags |= Qt::WindowCloseButtonHint;
    setWindowFlags(flags);
    m_source->setTable(&m_param);
    m_source->setQuestions(&ctx.questions);

    ButtonOK = new QPushButton(QStringLiteral("OK"), this);
    ButtonOK->setObjectName(QStringLiteral("ButtonOK"));
    ButtonOK->setDefault(true);
    ButtonCofnij = new QPushButton(QStringLiteral("Cofnij"), this);
    ButtonCofnij->setObjectName(QStringLiteral("ButtonCofnij"));
    ButtonCofnij->setAutoDefault(false);
    // A click leaves the focus in the field, so that a value the field
    // refuses is told once, by "OK" itself.
    for (QPushButton *b : {ButtonOK, ButtonCofnij})
        b->setFocusPolicy(Qt::TabFocus);
    connect(ButtonOK, &QPushButton::clicked, this, &ParameterRowDialog::ButtonOKClick);
    connect(ButtonCofnij, &QPushButton::clicked, this, &ParameterRowDialog::ButtonCofnijClick);

    m_fields->setHorizontalSpacing(10);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ButtonOK);
    buttons->addWidget(ButtonCofnij);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->setSpacing(14);
    layout->addLayout(m_fields, 1);
    layout->addLayout(buttons);
}

ui::DbLineEdit *ParameterRowDialog::addEdit(int row, const QString &label, const QString &name, const QString &field,
                                            const QString &caption) {
    auto *l = new QLabel(label, this);
    auto *e = new ui::DbLineEdit(this);
    e->setObjectName(name);
    e->setCaption(caption);
    e->bind(m_source, field);
    l->setBuddy(e);
    m_fields->addWidget(l, row, 0, Qt::AlignRight);
    m_fields->addWidget(e, row, 1);
    return e;
}

void ParameterRowDialog::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    const bool opened = core::guarded(m_ctx.questions, [this] {
        if (!m_param.isOpen())
            m_param.open();
        m_param.first();
        m_param.edit();  // a table without a row gets a new one
    });
    if (!opened) {
        QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
        return;
    }
    // The first field takes the keys, its text selected.
    if (QLayoutItem *first = m_fields->itemAtPosition(0, m_fields->columnCount() > 1 ? 1 : 0); first && first->widget()) {
        first->widget()->setFocus();
        if (auto *edit = qobject_cast<QLineEdit *>(first->widget()))
            edit->selectAll();
    }
}

void ParameterRowDialog::ButtonOKClick() {
    const bool stored = core::guarded(m_ctx.questions, [this] {
        if (m_param.isEditing())
            m_param.post();
        posted();
    });
    if (stored)
        accept();
}

void ParameterRowDialog::ButtonCofnijClick() { reject(); }

void ParameterRowDialog::done(int result) {
    // A change not posted is dropped with the table.
    core::guarded(m_ctx.questions, [this] { m_param.close(); });
    QDialog::done(result);
}

// ---------------------------------------------------------------------------

TFormWzorNrDec::TFormWzorNrDec(core::Context &ctx, QWidget *parent)
    : ParameterRowDialog(ctx, QStringLiteral("TFormWzorNrDec"), QStringLiteral("Definiowanie wzorca"), false, parent) {
    DBEWzorDec = addEdit(0, QStringLiteral("Wzorzec n-ru decyzji:"), QStringLiteral("DBEWzorDec"),
                         QStringLiteral("Wzor_NrDec"), QStringLiteral("Wzorzec n-ru decyzji"));
    DBEWzorDec->setMinimumWidth(DBEWzorDec->fontMetrics().horizontalAdvance(QLatin1Char('W')) * 20);
    setFixedSize(sizeHint());
}

void TFormWzorNrDec::posted() { m_ctx.values.decisionPattern = param().field(QStringLiteral("Wzor_NrDec")).asString(); }

TFormWzorTerminPlatn::TFormWzorTerminPlatn(core::Context &ctx, QWidget *parent)
    : ParameterRowDialog(ctx, QStringLiteral("TFormWzorTerminPlatn"), QStringLiteral("Definiowanie wzorca"), false,
                         parent) {
    DBEPlatneDo = addEdit(0, QStringLiteral("Termin płatn.:"), QStringLiteral("DBEPlatneDo"),
                          QStringLiteral("Wzor_PlatneDo"), QStringLiteral("Termin płatn."));
    DBEPlatneDo->setMinimumWidth(DBEPlatneDo->fontMetrics().horizontalAdvance(QLatin1Char('W')) * 20);
    setFixedSize(sizeHint());
}

TFormWzorPlatneOdDo::TFormWzorPlatneOdDo(core::Context &ctx, QWidget *parent)
    : ParameterRowDialog(ctx, QStringLiteral("TFormWzorPlatneOdDo"), QStringLiteral("Definiowanie wzorca"), true,
                         parent) {
    DBEOkresOd = addEdit(0, QStringLiteral("Na okres     od:"), QStringLiteral("DBEOkresOd"),
                         QStringLiteral("Wzor_OkresOd"), QStringLiteral("Okres od"));
    DBEOkresDo = addEdit(1, QStringLiteral("do:"), QStringLiteral("DBEOkresDo"), QStringLiteral("Wzor_OkresDo"),
                         QStringLiteral("Okres do"));
    for (ui::DbLineEdit *e : {DBEOkresOd, DBEOkresDo})
        e->setFixedWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("00.00.00000")) + 12);
    setFixedSize(sizeHint());
}

TFormWzorStopki::TFormWzorStopki(core::Context &ctx, QWidget *parent)
    : ParameterRowDialog(ctx, QStringLiteral("TFormWzorStopki"), QStringLiteral("Wzorzec stopki "), true, parent) {
    DBMemo1 = new ui::DbMemo(this);
    DBMemo1->setObjectName(QStringLiteral("DBMemo1"));
    DBMemo1->setCaption(QStringLiteral("Stopka"));
    DBMemo1->setTabChangesFocus(true);
    DBMemo1->setLineWrapMode(QPlainTextEdit::NoWrap);  // a line of the memo is a printed line
    DBMemo1->bind(source(), QStringLiteral("Stopka"));
    fields()->addWidget(DBMemo1, 0, 0);
    resize(520, 300);
}

}  // namespace varnel::templates
