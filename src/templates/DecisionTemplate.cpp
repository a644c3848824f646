#include "templates/DecisionTemplate.h"

#include "data/Table.h"
#include "data/Values.h"
#include "templates/TemplateFile.h"

namespace varnel::templates {

DecisionPrintSwitches readDecisionPrintSwitches(data::Database &db) {
    data::Table param(db, QStringLiteral("param.db"));
    param.open();
    param.first();
    DecisionPrintSwitches s;
    if (param.isEmpty())
        return s;
    s.drukujMetryczke = param.field(QStringLiteral("DrukujMetryczke")).asBoolean();
    s.drukujStopke = param.field(QStringLiteral("DrukujStopke")).asBoolean();
    s.stopka = param.field(QStringLiteral("Stopka")).asString();
    return s;
}

QString metricLine(data::Table &applications, const QString &userName, const QDate &today) {
    const QString nrEw = applications.field(QStringLiteral("NrEw")).asString();
    const QString decision = applications.field(QStringLiteral("Numer_decyzji")).asString();
    return QStringLiteral("Wniosek nr ew. %1 | decyzja nr %2 | wystawił: %3 | %4")
        .arg(nrEw, decision, userName, data::formatDate(today));
}

QStringList footerLines(const QString &stopka) { return textLines(stopka); }

}  // namespace varnel::templates
