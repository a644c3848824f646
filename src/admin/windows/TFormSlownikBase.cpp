#include "admin/windows/TFormSlownikBase.h"

#include "core/Context.h"
#include "core/HelpTopics.h"
#include "ui/DataGrid.h"
#include "ui/DataSource.h"
#include "ui/DbControls.h"
#include "core/Guard.h"
#include "ui/KeyPreview.h"
#include "ui/WindowPlacement.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace varnel::admin {

// ---------------------------------------------------------------------------
// Entry dialog

TFormNewEntry::TFormNewEntry(DictionaryRules &rules, data::Table &table, core::Context &ctx, QWidget *parent)
    : QDialog(parent), m_rules(rules), m_ctx(ctx), m_source(new ui::DataSource(this)) {
    setWindowTitle(QString());
    setModal(true);
    m_source->setTable(&table);
    m_source->setQuestions(&ctx.questions);

    DBEdit = new ui::DbLineEdit(this);
    DBEdit->setObjectName(QStringLiteral("DBEdit"));
    DBEdit->bind(m_source, QStringLiteral("Opis"));
    DBEdit->setMinimumWidth(DBEdit->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 42);

    ButtonOK = new QPushButton(QStringLiteral("OK"), this);
    ButtonOK->setObjectName(QStringLiteral("ButtonOK"));
    ButtonOK->setDefault(true);
    ButtonCofnij = new QPushButton(QStringLiteral("Cofnij"), this);
    ButtonCofnij->setObjectName(QStringLiteral("ButtonCofnij"));
    ButtonCofnij->setAutoDefault(false);

    m_fields = new QVBoxLayout;
    m_fields->addWidget(DBEdit);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ButtonOK);
    buttons->addWidget(ButtonCofnij);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(m_fields);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(ButtonOK, &QPushButton::clicked, this, &TFormNewEntry::ButtonOKClick);
    connect(ButtonCofnij, &QPushButton::clicked, this, &TFormNewEntry::reject);
}

void TFormNewEntry::showEvent(QShowEvent *e) {
    QDialog::showEvent(e);
    DBEdit->setFocus();
    DBEdit->selectAll();
}

void TFormNewEntry::ButtonOKClick() {
    // A row the engine refuses stays in the dialog to be corrected.
    if (core::guarded(m_ctx.questions, [&] { m_rules.accept(); }))
        QDialog::accept();
}

void TFormNewEntry::reject() {
    core::guarded(m_ctx.questions, [&] { m_rules.discard(); });
    QDialog::reject();
}

// ---------------------------------------------------------------------------
// List window

TFormSlownikBase::TFormSlownikBase(core::Context &ctx, DictionaryRules::Kind kind,
                                   const QVector<ui::GridColumn> &columns, Closed onClosed, QWidget *parent)
    : QWidget(parent, Qt::Window), m_ctx(ctx), m_table(ctx.db), m_rules(m_table, kind),
      m_onClosed(std::move(onClosed)) {
    DBGridDict = new ui::DataGrid(this);
    DBGridDict->setObjectName(QStringLiteral("DBGridDict"));
    DBGridDict->setColumns(columns);
    DBGridDict->setTable(&m_table);
    DBGridDict->setQuestions(&ctx.questions);
    DBGridDict->horizontalHeader()->setStretchLastSection(true);

    auto button = [this](const char *name, const QString &text) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    ButtonDodaj = button("ButtonDodaj", QStringLiteral("Dodaj"));
    ButtonPopraw = button("ButtonPopraw", QStringLiteral("Popraw"));
    ButtonUsun = button("ButtonUsun", QStringLiteral("Usuń"));
    ButtonZakoncz = button("ButtonZakoncz", QStringLiteral("Zakończ"));

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(ButtonDodaj);
    buttons->addWidget(ButtonPopraw);
    buttons->addWidget(ButtonUsun);
    buttons->addStretch();
    buttons->addWidget(ButtonZakoncz);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(DBGridDict, 1);
    layout->addLayout(buttons);

    connect(ButtonDodaj, &QPushButton::clicked, this, &TFormSlownikBase::ButtonDodajClick);
    connect(ButtonPopraw, &QPushButton::clicked, this, &TFormSlownikBase::ButtonPoprawClick);
    connect(ButtonUsun, &QPushButton::clicked, this, &TFormSlownikBase::ButtonUsunClick);
    connect(ButtonZakoncz, &QPushButton::clicked, this, &QWidget::close);

    new ui::KeyPreview(this, [this](QKeyEvent *e) { return FormKeyDown(e); });

    // Room for the columns at their display widths, as the grid lays them out.
    int width = DBGridDict->frameWidth() * 2 + DBGridDict->verticalScrollBar()->sizeHint().width();
    for (const auto &c : columns)
        width += c.displayWidth * DBGridDict->fontMetrics().horizontalAdvance(QLatin1Char('0')) + 8;
    resize(width + ButtonDodaj->sizeHint().width() + 3 * layout->spacing() + 2 * 11, 380);
}

void TFormSlownikBase::openOn(const QString &tableName, const QString &caption) {
    if (m_table.isOpen()) {
        if (data::Database::tableNameOf(m_table.tableName()).compare(data::Database::tableNameOf(tableName),
                                                                   Qt::CaseInsensitive) == 0) {
            setWindowTitle(caption);
            show();
            raise();
            activateWindow();
            return;
        }
        close();
    }
    setWindowTitle(caption);
    const bool opened = core::guarded(m_ctx.questions, [&] {
        m_table.setTableName(tableName);
        m_table.open();  // in primary key order
        m_table.first();
    });
    if (!opened)
        return;
    ui::placeOver(this, parentWidget());
    show();
    raise();
    activateWindow();
    DBGridDict->setFocus();
}

void TFormSlownikBase::closeEvent(QCloseEvent *e) {
    QWidget::closeEvent(e);
    if (!m_table.isOpen())
        return;
    m_table.close();
    if (m_onClosed)
        core::guarded(m_ctx.questions, m_onClosed);
}

bool TFormSlownikBase::FormKeyDown(QKeyEvent *e) {
    // The modifiers do not matter: Shift+Enter is Enter.
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        ButtonPoprawClick();
        return true;
    case Qt::Key_Escape:
        close();
        return true;
    case Qt::Key_Insert:
        ButtonDodajClick();
        return true;
    case Qt::Key_Delete:
        ButtonUsunClick();
        return true;
    case Qt::Key_F1:
        if (showHelp)
            showHelp(help::Dictionaries);
        return true;
    default:
        return false;
    }
}

void TFormSlownikBase::ButtonDodajClick() {
    if (core::guarded(m_ctx.questions, [&] { m_rules.add(); }))
        runEntryDialog();
}

void TFormSlownikBase::ButtonPoprawClick() {
    bool go = false;
    core::guarded(m_ctx.questions, [&] { go = m_rules.change(m_ctx.questions); });
    if (go)
        runEntryDialog();
}

void TFormSlownikBase::ButtonUsunClick() {
    core::guarded(m_ctx.questions, [&] { m_rules.remove(m_ctx.questions); });
}

void TFormSlownikBase::runEntryDialog() {
    if (m_entry)
        m_entry->exec();
    // However the dialog went, the list is back to browsing.
    core::guarded(m_ctx.questions, [&] { m_rules.discard(); });
    DBGridDict->setFocus();
}

}  // namespace varnel::admin
