#include "admin/windows/TFormSlowniki.h"

namespace varnel::admin {

TFormNewDict::TFormNewDict(DictionaryRules &rules, data::Table &table, core::Context &ctx, QWidget *parent)
    : TFormNewEntry(rules, table, ctx, parent) {
    setObjectName(QStringLiteral("TFormNewDict"));
}

TFormSlowniki::TFormSlowniki(core::Context &ctx, Closed onClosed, QWidget *parent)
    : TFormSlownikBase(ctx, DictionaryRules::Kind::Values, {{QStringLiteral("Opis"), QStringLiteral("Opis"), 50}},
                       std::move(onClosed), parent) {
    setObjectName(QStringLiteral("TFormSlowniki"));
    m_dialog = new TFormNewDict(rules(), table(), ctx, this);
    setEntryDialog(m_dialog);
}

void TFormSlowniki::showFor(const QString &tableName, const QString &caption) { openOn(tableName, caption); }

}  // namespace varnel::admin
