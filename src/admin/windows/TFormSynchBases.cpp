#include "admin/windows/TFormSynchBases.h"

#include "admin/windows/TFormWyborTabeli.h"
#include "core/Context.h"
#include "core/Guard.h"
#include "core/Questions.h"
#include "data/Database.h"
#include "data/Table.h"
#include "register/Register.h"
#include "ui/BarProgress.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace varnel::admin {

namespace {

const QString Note = QStringLiteral(
    "Funkcja synchronizuje struktury baz wymienionych na liście ze strukturą bazy wzorcowej: każda z nich dostaje "
    "dokładnie pola i indeksy wzorca, a jej rekordy są przepisywane pole po polu według nazw pól. Pola, których "
    "wzorzec nie ma, znikają.\n"
    "Nowe pola (nieobecne wcześniej w synchronizowanej bazie) mają zawartość nieokreśloną (są puste).\n"
    "Pole typu autoincrement nie jest odtwarzane wiernie, lecz numerowane od nowa w kolejnych rekordach.");

constexpr int LocationRole = Qt::UserRole;

}  // namespace

TFormSynchBases::TFormSynchBases(core::Context &ctx, reg::Register &reg, QWidget *parent)
    : QDialog(parent), m_ctx(ctx), m_reg(reg) {
    setObjectName(QStringLiteral("TFormSynchBases"));
    setWindowTitle(QStringLiteral("Synchronizacja baz"));

    Memo1 = new QPlainTextEdit(Note, this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setFocusPolicy(Qt::NoFocus);
    Memo1->setFixedHeight(Memo1->fontMetrics().lineSpacing() * 8 + 16);

    auto *labelPattern = new QLabel(QStringLiteral("Wzorzec struktury bazy"), this);
    EditPattern = new QLineEdit(this);
    EditPattern->setObjectName(QStringLiteral("EditPattern"));
    labelPattern->setBuddy(EditPattern);
    ButtonSource = new QPushButton(QStringLiteral("Pobierz"), this);
    ButtonSource->setObjectName(QStringLiteral("ButtonSource"));

    auto *labelDest = new QLabel(QStringLiteral("Popraw bazy:"), this);
    LBoxDest = new QListWidget(this);
    LBoxDest->setObjectName(QStringLiteral("LBoxDest"));
    labelDest->setBuddy(LBoxDest);
    ButtonDestPlus = new QPushButton(QStringLiteral("Dodaj"), this);
    ButtonDestPlus->setObjectName(QStringLiteral("ButtonDestPlus"));
    ButtonDestUsun = new QPushButton(QStringLiteral("Usuń"), this);
    ButtonDestUsun->setObjectName(QStringLiteral("ButtonDestUsun"));
    ButtonCopy = new QPushButton(QStringLiteral("Działaj"), this);
    ButtonCopy->setObjectName(QStringLiteral("ButtonCopy"));

    ProgressBar = ui::newWindowBar(this);

    for (QPushButton *b : {ButtonSource, ButtonDestPlus, ButtonDestUsun, ButtonCopy})
        b->setAutoDefault(false);

    auto *grid = new QGridLayout;
    grid->addWidget(labelPattern, 0, 0, 1, 2);
    grid->addWidget(EditPattern, 1, 0);
    grid->addWidget(ButtonSource, 1, 1);
    grid->addWidget(labelDest, 2, 0, 1, 2);
    grid->addWidget(LBoxDest, 3, 0, 3, 1);
    grid->addWidget(ButtonDestPlus, 3, 1);
    grid->addWidget(ButtonDestUsun, 4, 1, Qt::AlignTop);
    grid->setRowStretch(5, 1);
    grid->setColumnStretch(0, 1);
    auto *run = new QHBoxLayout;
    run->addWidget(ProgressBar, 1);
    run->addWidget(ButtonCopy);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Memo1);
    layout->addLayout(grid, 1);
    layout->addLayout(run);
    resize(620, 480);

    connect(ButtonSource, &QPushButton::clicked, this, &TFormSynchBases::ButtonSourceClick);
    connect(ButtonDestPlus, &QPushButton::clicked, this, &TFormSynchBases::ButtonDestPlusClick);
    connect(ButtonDestUsun, &QPushButton::clicked, this, &TFormSynchBases::ButtonDestUsunClick);
    connect(ButtonCopy, &QPushButton::clicked, this, &TFormSynchBases::ButtonCopyClick);
}

void TFormSynchBases::showEvent(QShowEvent *e) {
    m_dialogDirectory = m_ctx.db.directory();
    ProgressBar->hide();
    QDialog::showEvent(e);
}

QVector<TableLocation> TFormSynchBases::chooseTables(bool several) {
    Databases databases(m_ctx.db);
    TFormWyborTabeli dialog(m_ctx, databases, m_dialogDirectory, several, this);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    m_dialogDirectory = dialog.directory();
    return dialog.chosen();
}

void TFormSynchBases::ButtonSourceClick() {
    const QVector<TableLocation> chosen = chooseTables(false);
    if (!chosen.isEmpty())
        EditPattern->setText(chosen.first().path());
}

void TFormSynchBases::addDestination(const TableLocation &table) {
    for (int i = 0; i < LBoxDest->count(); ++i)
        if (LBoxDest->item(i)->data(LocationRole).toStringList() == QStringList{table.directory, table.table})
            return;
    auto *item = new QListWidgetItem(table.path(), LBoxDest);
    item->setData(LocationRole, QStringList{table.directory, table.table});
}

void TFormSynchBases::ButtonDestPlusClick() {
    for (const TableLocation &t : chooseTables(true))
        addDestination(t);
}

void TFormSynchBases::ButtonDestUsunClick() {
    delete LBoxDest->currentItem();
}

void TFormSynchBases::ButtonCopyClick() {
    QVector<TableLocation> destinations;
    for (int i = 0; i < LBoxDest->count(); ++i) {
        const QStringList parts = LBoxDest->item(i)->data(LocationRole).toStringList();
        destinations << TableLocation{parts.value(0), parts.value(1)};
    }
    const std::optional<TableLocation> pattern = parseTablePath(EditPattern->text(), m_ctx.db.directory());

    ProgressBar->setValue(0);
    ProgressBar->show();
    setEnabled(false);
    Databases databases(m_ctx.db);
    // The register's view is closed while its own table is rebuilt, and
    // opened again on the table's new layout.
    bool registerTable = false;
    for (const TableLocation &d : destinations)
        registerTable = registerTable
                        || (databases.isOwn(d.directory)
                            && data::Database::tableNameOf(d.table).compare(m_reg.currentTableName(), Qt::CaseInsensitive) == 0);
    const bool viewWasOpen = m_reg.TableWnioski().isOpen();
    core::guarded(m_ctx.questions, [&] {
        if (registerTable && viewWasOpen)
            m_reg.TableWnioski().close();
        ui::BarProgress bar(ProgressBar);
        synchronise(databases, pattern, destinations, &bar, [&](int i) {
            LBoxDest->setCurrentRow(i);
            LBoxDest->repaint();
        });
    });
    if (registerTable && viewWasOpen)
        m_reg.PokazListeWnioskow();
    setEnabled(true);
    ProgressBar->hide();
    LBoxDest->clearSelection();
    LBoxDest->setCurrentRow(-1);
}

}  // namespace varnel::admin
