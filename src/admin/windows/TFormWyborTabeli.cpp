#include "admin/windows/TFormWyborTabeli.h"

#include "core/Context.h"
#include "core/FileDialogs.h"
#include "core/Guard.h"
#include "core/Questions.h"
#include "data/Database.h"

#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace varnel::admin {

TFormWyborTabeli::TFormWyborTabeli(core::Context &ctx, Databases &databases, const QString &directory, bool several,
                                   QWidget *parent)
    : QDialog(parent), m_ctx(ctx), m_databases(databases) {
    setObjectName(QStringLiteral("TFormWyborTabeli"));
    setWindowTitle(QStringLiteral("Wybór tabeli"));

    auto *labelKatalog = new QLabel(QStringLiteral("Baza danych w katalogu:"), this);
    EditKatalog = new QLineEdit(this);
    EditKatalog->setObjectName(QStringLiteral("EditKatalog"));
    EditKatalog->setReadOnly(true);
    ButtonKatalog = new QPushButton(QStringLiteral("Inna baza..."), this);
    ButtonKatalog->setObjectName(QStringLiteral("ButtonKatalog"));
    ButtonKatalog->setAutoDefault(false);
    auto *labelTabele = new QLabel(QStringLiteral("Tabele:"), this);
    LBoxTabele = new QListWidget(this);
    LBoxTabele->setObjectName(QStringLiteral("LBoxTabele"));
    LBoxTabele->setSelectionMode(several ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
    labelTabele->setBuddy(LBoxTabele);
    ButtonOK = new QPushButton(QStringLiteral("OK"), this);
    ButtonOK->setObjectName(QStringLiteral("ButtonOK"));
    ButtonOK->setDefault(true);
    ButtonCofnij = new QPushButton(QStringLiteral("Cofnij"), this);
    ButtonCofnij->setObjectName(QStringLiteral("ButtonCofnij"));
    ButtonCofnij->setAutoDefault(false);

    auto *where = new QHBoxLayout;
    where->addWidget(EditKatalog, 1);
    where->addWidget(ButtonKatalog);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ButtonOK);
    buttons->addWidget(ButtonCofnij);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(labelKatalog);
    layout->addLayout(where);
    layout->addWidget(labelTabele);
    layout->addWidget(LBoxTabele, 1);
    layout->addLayout(buttons);
    resize(460, 420);

    connect(ButtonKatalog, &QPushButton::clicked, this, &TFormWyborTabeli::ButtonKatalogClick);
    connect(ButtonOK, &QPushButton::clicked, this, &TFormWyborTabeli::ButtonOKClick);
    connect(ButtonCofnij, &QPushButton::clicked, this, &QDialog::reject);
    connect(LBoxTabele, &QListWidget::itemDoubleClicked, this, [this] { ButtonOKClick(); });

    if (!showDirectory(directory) && directory != ctx.db.directory())
        showDirectory(ctx.db.directory());
}

bool TFormWyborTabeli::showDirectory(const QString &directory) {
    QStringList names;
    if (!core::guarded(m_ctx.questions, [&] { names = tablesIn(m_databases, directory); }))
        return false;
    m_directory = QDir::cleanPath(QDir(directory).absolutePath());
    EditKatalog->setText(QDir::toNativeSeparators(m_directory));
    LBoxTabele->clear();
    LBoxTabele->addItems(names);
    if (LBoxTabele->count() > 0)
        LBoxTabele->setCurrentRow(0);
    return true;
}

void TFormWyborTabeli::ButtonKatalogClick() {
    const QString dir = m_ctx.files.chooseDirectory(this, m_directory);
    if (!dir.isEmpty())
        showDirectory(dir);
}

void TFormWyborTabeli::ButtonOKClick() {
    m_chosen.clear();
    for (int i = 0; i < LBoxTabele->count(); ++i)
        if (LBoxTabele->item(i)->isSelected())
            m_chosen << TableLocation{m_directory, LBoxTabele->item(i)->text()};
    if (m_chosen.isEmpty())
        return;  // nothing chosen: the window stays open
    accept();
}

}  // namespace varnel::admin
