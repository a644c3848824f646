#include "admin/windows/TFormSlownZarz.h"

#include "ui/DataSource.h"
#include "ui/DbControls.h"

#include <QVBoxLayout>

namespace varnel::admin {

TFormNewZarz::TFormNewZarz(DictionaryRules &rules, data::Table &table, core::Context &ctx, QWidget *parent)
    : TFormNewEntry(rules, table, ctx, parent) {
    setObjectName(QStringLiteral("TFormNewZarz"));
    DBCBoxWlasnGminy = new ui::DbCheckBox(QStringLiteral("Lokale są własnością gminy"), this);
    DBCBoxWlasnGminy->setObjectName(QStringLiteral("DBCBoxWlasnGminy"));
    DBCBoxWlasnGminy->bind(dataSource(), QStringLiteral("Wlasn_gminy"));
    fieldsLayout()->addWidget(DBCBoxWlasnGminy);
}

TFormSlownZarz::TFormSlownZarz(core::Context &ctx, Closed onClosed, QWidget *parent)
    : TFormSlownikBase(ctx, DictionaryRules::Kind::Managers,
                       {{QStringLiteral("Opis"), QStringLiteral("Opis"), 50},
                        {QStringLiteral("Wlasn_gminy"), QStringLiteral("Wlasn_gminy"), 11}},
                       std::move(onClosed), parent) {
    setObjectName(QStringLiteral("TFormSlownZarz"));
    m_dialog = new TFormNewZarz(rules(), table(), ctx, this);
    setEntryDialog(m_dialog);
}

void TFormSlownZarz::showList() { openOn(ManagerDictionary, ManagerCaption); }

}  // namespace varnel::admin
