#include "admin/windows/TFormUsers.h"

#include "admin/windows/TFormOneUser.h"
#include "core/Guard.h"
#include "core/Questions.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace varnel::admin {

TFormUsers::TFormUsers(core::Context &ctx, QWidget *parent)
    : QDialog(parent), m_ctx(ctx), m_model(new QStandardItemModel(this)), m_oneUser(new TFormOneUser(this)) {
    setObjectName(QStringLiteral("TFormUsers"));
    setWindowTitle(QStringLiteral("  Użytkownicy"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    // One column, the user names, whole rows selected, no title row.
    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setModel(m_model);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->setTabKeyNavigation(false);
    DBGrid1->setWordWrap(false);
    DBGrid1->horizontalHeader()->setVisible(false);
    DBGrid1->horizontalHeader()->setStretchLastSection(true);
    DBGrid1->verticalHeader()->setVisible(false);
    DBGrid1->verticalHeader()->setDefaultSectionSize(DBGrid1->fontMetrics().height() + 6);

    const auto button = [this](const char *name, const QString &text) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        b->setMinimumWidth(b->fontMetrics().horizontalAdvance(QStringLiteral("Właściwości")) + 32);
        return b;
    };
    ButtonDodaj = button("ButtonDodaj", QStringLiteral("Dodaj"));
    ButtonPopraw = button("ButtonPopraw", QStringLiteral("Właściwości"));
    ButtonUsun = button("ButtonUsun", QStringLiteral("Usuń"));
    ButtonOK = button("ButtonOK", QStringLiteral("OK"));

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(ButtonDodaj);
    buttons->addWidget(ButtonPopraw);
    buttons->addWidget(ButtonUsun);
    buttons->addStretch();
    buttons->addWidget(ButtonOK);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(12);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(buttons);
    resize(400, 280);

    connect(ButtonDodaj, &QPushButton::clicked, this, &TFormUsers::ButtonDodajClick);
    connect(ButtonPopraw, &QPushButton::clicked, this, &TFormUsers::ButtonPoprawClick);
    connect(ButtonUsun, &QPushButton::clicked, this, &TFormUsers::ButtonUsunClick);
    connect(ButtonOK, &QPushButton::clicked, this, &TFormUsers::ButtonOKClick);
    connect(DBGrid1, &QTableView::doubleClicked, this, &TFormUsers::ButtonPoprawClick);
}

// Without "OK" nothing of the session is kept.
TFormUsers::~TFormUsers() = default;

bool TFormUsers::openSession() {
    if (inSession())
        return true;
    const bool read = core::guarded(m_ctx.questions, [&] { m_users.load(m_ctx.db); });
    if (!read)
        return false;
    m_inSession = true;
    showRows(0);
    return true;
}

void TFormUsers::run() {
    if (openSession())
        exec();
}

void TFormUsers::endSession() {
    m_inSession = false;
    m_users = UserList();
    showRows(-1);
}

int TFormUsers::currentRow() const {
    const QModelIndex i = DBGrid1->currentIndex();
    return i.isValid() && i.row() < m_users.size() ? i.row() : -1;
}

// Shows the rows of the working copy with `current` selected (the nearest
// row when it is past the end).
void TFormUsers::showRows(int current) {
    m_model->clear();
    m_model->setColumnCount(1);
    for (int i = 0; i < m_users.size(); ++i)
        m_model->appendRow(new QStandardItem(m_users.at(i).user));
    current = std::min(current, m_users.size() - 1);
    if (current >= 0)
        DBGrid1->setCurrentIndex(m_model->index(current, 0));
}

void TFormUsers::ButtonDodajClick() {
    if (!inSession())
        return;
    UserRow row;  // empty name and password, no rights
    if (m_oneUser->editRow(row, m_users.userWidth(), m_users.passWidth()))
        showRows(m_users.add(row));
}

void TFormUsers::ButtonPoprawClick() {
    const int i = currentRow();
    if (!inSession() || i < 0)
        return;
    UserRow row = m_users.at(i);
    if (m_oneUser->editRow(row, m_users.userWidth(), m_users.passWidth())) {
        m_users.change(i, row);
        showRows(i);
    }
}

void TFormUsers::ButtonUsunClick() {
    const int i = currentRow();
    if (!inSession() || i < 0)
        return;
    if (m_ctx.questions.confirmDelete(QStringLiteral("Usunąć pozycję ?"))) {
        m_users.remove(i);
        showRows(i);
    }
}

// Writes the changes of the opening; when they cannot be written the
// engine's message is shown and the window stays open with them.
void TFormUsers::ButtonOKClick() {
    if (!inSession()) {
        accept();
        return;
    }
    if (core::guarded(m_ctx.questions, [&] { m_users.save(m_ctx.db); })) {
        endSession();
        accept();
    }
}

void TFormUsers::reject() {
    // Esc and the close box.
    if (inSession()) {
        if (!m_ctx.questions.confirm(QStringLiteral("Zrezygnować z zapisania zmian ?")))
            return;  // stays open with its changes
        endSession();
    }
    QDialog::reject();
}

}  // namespace varnel::admin
