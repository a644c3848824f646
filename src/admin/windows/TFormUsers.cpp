#include "admin/windows/TFormUsers.h"

#include "admin/windows/TFormOneUser.h"
#include "data/Database.h"
#include "data/Table.h"
#include "ui/DataGrid.h"
#include "core/Guard.h"
#include "core/Questions.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QVBoxLayout>

namespace varnel::admin {

TFormUsers::TFormUsers(core::Context &ctx, QWidget *parent) : QDialog(parent), m_ctx(ctx) {
    setObjectName(QStringLiteral("TFormUsers"));
    setWindowTitle(QStringLiteral("  Użytkownicy"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    DBGrid1 = new ui::DataGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setColumns({{QStringLiteral("User"), QStringLiteral("User"), 30}});
    DBGrid1->horizontalHeader()->setVisible(false);
    DBGrid1->horizontalHeader()->setStretchLastSection(true);
    DBGrid1->setQuestions(&m_ctx.questions);

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
    connect(DBGrid1, &ui::DataGrid::rowActivated, this, &TFormUsers::ButtonPoprawClick);
}

TFormUsers::~TFormUsers() {
    // Without "OK" nothing of the session is kept.
    endSession();
}

bool TFormUsers::openSession() {
    if (inSession())
        return true;
    return core::guarded(m_ctx.questions, [&] {
        auto connection = m_ctx.db.openSecondConnection();
        connection->begin();
        auto users = std::make_unique<data::Table>(*connection, QStringLiteral("uspass"));
        users->open();
        m_connection = std::move(connection);
        m_users = std::move(users);
        DBGrid1->setTable(m_users.get());
        m_oneUser = new TFormOneUser(*m_users, m_ctx.questions, this);
    });
}

void TFormUsers::run() {
    if (openSession())
        exec();
}

// Closes the dialog, the table and the connection; a transaction still open
// is rolled back with the connection.
void TFormUsers::endSession() {
    delete m_oneUser;
    m_oneUser = nullptr;
    DBGrid1->setTable(nullptr);
    m_users.reset();
    m_connection.reset();
}

void TFormUsers::showUser() { m_oneUser->exec(); }

void TFormUsers::ButtonDodajClick() {
    if (!inSession())
        return;
    const bool ok = core::guarded(m_ctx.questions, [&] {
        m_users->insert();
        m_users->field(QStringLiteral("ModiUsers")).setBoolean(false);
        m_users->field(QStringLiteral("ModiDict")).setBoolean(false);
    });
    if (ok)
        showUser();
}

void TFormUsers::ButtonPoprawClick() {
    if (!inSession())
        return;
    if (core::guarded(m_ctx.questions, [&] { m_users->edit(); }))
        showUser();
}

void TFormUsers::ButtonUsunClick() {
    if (!inSession())
        return;
    if (m_ctx.questions.confirm(QStringLiteral("Usunąć pozycję ?")))
        core::guarded(m_ctx.questions, [&] { m_users->remove(); });
}

void TFormUsers::ButtonOKClick() {
    if (!inSession()) {
        accept();
        return;
    }
    if (core::guarded(m_ctx.questions, [&] { m_connection->commit(); })) {
        endSession();
        accept();
    }
}

void TFormUsers::reject() {
    // Esc and the close box.
    if (inSession()) {
        if (!m_ctx.questions.confirm(QStringLiteral("Zrezygnować z zapisania zmian ?")))
            return;  // stays open with its changes
        core::guarded(m_ctx.questions, [&] {
            m_users->close();
            m_connection->rollback();
        });
        endSession();
    }
    QDialog::reject();
}

}  // namespace varnel::admin
