#include "ui/SelectionPanels.h"

#include "core/Guard.h"
#include "data/Table.h"
#include "ui/DbControls.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace varnel::ui {

ManagerSelection makeManagerSelection(DataSource *source, QWidget *parent) {
    ManagerSelection s;
    s.box = new QGroupBox(QStringLiteral("Zarządca:"), parent);
    auto *ml = new QHBoxLayout(s.box);
    s.wszyscy = new DbCheckBox(QStringLiteral("Wszyscy"), s.box);
    s.wszyscy->setObjectName(QStringLiteral("DBCBoxWszyscy"));
    s.wszyscy->bind(source, QStringLiteral("Wszyscy"));
    ml->addWidget(s.wszyscy);
    s.panel = new QWidget(s.box);
    s.panel->setObjectName(QStringLiteral("PanelZarzadca"));
    auto *pl = new QHBoxLayout(s.panel);
    pl->setContentsMargins(0, 0, 0, 0);
    pl->addWidget(new QLabel(QStringLiteral("Tylko dla:"), s.panel));
    s.zarzadca = new DbComboBox(s.panel);
    s.zarzadca->setObjectName(QStringLiteral("DBCBoxZarzadca"));
    s.zarzadca->setCaption(QStringLiteral("Tylko dla"));
    s.zarzadca->bind(source, QStringLiteral("DlaZarzadcy"));
    s.zarzadca->setMinimumContentsLength(30);
    pl->addWidget(s.zarzadca, 1);
    ml->addWidget(s.panel, 1);
    return s;
}

PeriodSelection makePeriodSelection(DataSource *source, QWidget *parent) {
    PeriodSelection s;
    s.box = new QWidget(parent);
    auto *pv = new QVBoxLayout(s.box);
    pv->setContentsMargins(0, 0, 0, 0);
    s.ctrlOkres = new DbCheckBox(QStringLiteral("Uwzględniaj okres przysługiwania:"), s.box);
    s.ctrlOkres->setObjectName(QStringLiteral("DBCBoxCtrlOkres"));
    s.ctrlOkres->bind(source, QStringLiteral("CtrlOkres"));
    pv->addWidget(s.ctrlOkres);
    s.panel = new QWidget(s.box);
    s.panel->setObjectName(QStringLiteral("PanelOkres"));
    auto *ol = new QHBoxLayout(s.panel);
    ol->setContentsMargins(20, 0, 0, 0);
    const auto date = [&](const char *name, const QString &field, const QString &caption) {
        auto *e = new DbLineEdit(s.panel);
        e->setObjectName(QString::fromLatin1(name));
        e->setCaption(caption);
        e->bind(source, field);
        e->setMaximumWidth(110);
        return e;
    };
    ol->addWidget(new QLabel(QStringLiteral("Początek okresu przysługiwania  pomiędzy:"), s.panel));
    s.od = date("DBEditOd", QStringLiteral("DataPrzyslOd"), QStringLiteral("Początek okresu od"));
    ol->addWidget(s.od);
    ol->addWidget(new QLabel(QStringLiteral("a"), s.panel));
    s.doo = date("DBEditDo", QStringLiteral("DataPrzyslDo"), QStringLiteral("Początek okresu do"));
    ol->addWidget(s.doo);
    ol->addStretch();
    pv->addWidget(s.panel);
    return s;
}

bool openSettingsRow(data::Table &settings, core::Questions &questions,
                     const std::function<void(data::Table &)> &fillNew) {
    const bool opened = core::guarded(questions, [&] {
        if (!settings.isOpen())
            settings.open();
        settings.first();
        if (settings.eof()) {
            settings.insert();
            if (fillNew)
                fillNew(settings);
        } else {
            settings.edit();
        }
    });
    if (!opened)
        settings.close();
    return opened;
}

bool closeSettingsRow(data::Table &settings, core::Questions &questions) {
    if (!settings.isOpen())
        return true;
    if (!core::guarded(questions, [&] {
            if (settings.isEditing())
                settings.post();
        }))
        return false;
    settings.close();
    return true;
}

}  // namespace varnel::ui
